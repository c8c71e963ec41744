#include "knitcfg/config/Configuration.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "FileSizeLimit.h"
#include "TestUtil.h"

namespace knitcfg {
namespace {

namespace fs = std::filesystem;

std::string DataFile(const char* name) {
    return test::TestDataDir() + "/config/" + name;
}

// Every test gets its own temporary folder for the saves' temporary file, so
// that tests running in parallel never share it.
class ConfigurationTest : public ::testing::Test {
protected:
    // The file every save writes first.
    std::string TempFile() const {
        return (fs::path(dir_.File(test::PrivateTempFolderName())) / "Voz16.tmp").string();
    }

    // A copy of a test data file in the test's folder.
    std::string Copy(const char* name) {
        const std::string path = dir_.File(name);
        test::WriteFile(path, test::ReadFile(DataFile(name)));
        return path;
    }

    test::TempDir dir_;
    test::ScopedTempFolder tmp_{dir_.path()};
};

TEST_F(ConfigurationTest, ConstructorsSetTheHeader) {
    Configuration empty;
    EXPECT_EQ(empty.HeaderGetStartBlockIndex(), 0);
    EXPECT_EQ(empty.HeaderGetProcessingRows(), -1);
    EXPECT_EQ(empty.HeaderGetMachineType(), "");
    EXPECT_EQ(empty.GetProtection().Get(), 0);
    EXPECT_EQ(empty.GetPathName(), "");
    EXPECT_EQ(empty.GetModifiedFlag(), 0);

    Configuration made("KM-400", 2, 7, 65537);
    int major = 0;
    int minor = 0;
    made.HeaderGetVersion(&major, &minor);
    EXPECT_EQ(made.HeaderGetMachineType(), "KM-400");
    EXPECT_EQ(major, 2);
    EXPECT_EQ(minor, 7);
    EXPECT_EQ(made.HeaderGetProcessingRows(), 1);  // the low 16 bits
    EXPECT_EQ(made.HeaderGetStartBlockIndex(), 0);
    made.HeaderGetVersion(nullptr, nullptr);
    EXPECT_EQ(Configuration(nullptr, 0, 0, 0).HeaderGetMachineType(), "");

    const std::unique_ptr<ModelObject> created(Configuration::GetThisClass()->CreateObject());
    ASSERT_TRUE(created->IsKindOf(Configuration::GetThisClass()));
    EXPECT_STREQ(created->GetRuntimeClass()->className, "Configuration");
    EXPECT_EQ(static_cast<Configuration&>(*created).HeaderGetStartBlockIndex(), 0);
}

TEST_F(ConfigurationTest, LoadsAndSavesACompleteFileByteForByte) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(DataFile("full.ini").c_str()), RE_SUCCESS);
    EXPECT_EQ(doc.GetPathName(), DataFile("full.ini"));
    EXPECT_EQ(doc.GetProtection().Get(), 1);
    EXPECT_EQ(doc.HeaderGetMachineType(), "KM-400");
    EXPECT_EQ(doc.HeaderGetDescription(), "Two-bed machine\r\nwith speeders");
    EXPECT_EQ(doc.HeaderGetProcessingRows(), 4);
    EXPECT_EQ(doc.HeaderGetStartBlockIndex(), 3);
    EXPECT_EQ(doc.HeaderGetLastDevelop(), "\\designs\\rose.dis");
    EXPECT_EQ(doc.GetHeader().LastDevelopFirst, 12);
    EXPECT_EQ(doc.GetHeader().LastDevelopSecond, -5);
    EXPECT_EQ(doc.GetHeader().SourceCfg, "base.cfg");
    EXPECT_EQ(doc.GetHeader().SourceSdi, "base.sdi");

    const std::string out = dir_.File("out.ini");
    ASSERT_EQ(doc.SaveCFG(out.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(out), test::ReadFile(DataFile("full.ini")));
    EXPECT_EQ(doc.GetPathName(), out);
    EXPECT_FALSE(test::FileExists(TempFile()));
}

TEST_F(ConfigurationTest, HandEditedFileSavesInTheWrittenForm) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(DataFile("hand-edited.ini").c_str()), RE_SUCCESS);
    const std::string out = dir_.File("out.ini");
    ASSERT_EQ(doc.SaveCFG(out.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(out), test::ReadFile(DataFile("hand-edited.saved.ini")));
}

TEST_F(ConfigurationTest, AccessorsBuildTheSameFile) {
    Configuration doc("KM-400", 2, 7, 4);
    doc.HeaderSetDescription("Two-bed machine\r\nwith speeders");
    doc.HeaderSetStartBlockIndex(65536 + 3);
    doc.HeaderSetLastDevelop("\\designs\\rose.dis", 12, -5);
    doc.HeaderSetSourceCfg("base.cfg");
    doc.HeaderSetSourceSdi("base.sdi");
    doc.GetProtection().Set(1);
    EXPECT_EQ(doc.HeaderGetStartBlockIndex(), 3);
    const std::string out = dir_.File("out.ini");
    ASSERT_EQ(doc.SaveCFG(out.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(out), test::ReadFile(DataFile("full.ini")));

    doc.HeaderSetProcessingRows(-1);
    doc.HeaderSetSourceSdi(nullptr);
    doc.HeaderSetLastDevelop(nullptr, 1, 2);
    EXPECT_EQ(doc.HeaderGetProcessingRows(), -1);
    EXPECT_EQ(doc.HeaderGetLastDevelop(), "");
    EXPECT_EQ(doc.GetHeader().SourceSdi, "");
}

// The loaders all run; the first code wins, the protection section's first.
TEST_F(ConfigurationTest, LoadReportsTheFirstCodeAndKeepsWhatItRead) {
    struct Case {
        const char* file;
        RETERROR code;
        int protection;
        const char* machineType;
    } const cases[] = {
        {"no-sections.ini", RE_NO_PROTECTION, 0, ""},
        {"no-protection.ini", RE_NO_PROTECTION, 0, "KM-400"},
        {"no-header.ini", RE_NO_HEADER, 0, ""},
        {"empty-header.ini", RE_NO_HEADER, 0, ""},
        {"no-machine-type.ini", RE_NO_MACHINE_TYPE, 0, ""},
        {"version-single-number.ini", RE_BAD_VERSION, 0, "KM-400"},
        {"no-description.ini", RE_NO_DESCRIPTION, 0, "KM-400"},
        {"zero-lines.ini", RE_BAD_NUMBER_OF_LINES, 0, "KM-400"},
        {"negative-start-block.ini", RE_BAD_START_BLOCK, 0, "KM-400"},
        {"several-faults.ini", RE_NO_MACHINE_TYPE, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Configuration doc;
        EXPECT_EQ(doc.LoadCFG(DataFile(c.file).c_str()), c.code);
        EXPECT_EQ(doc.GetPathName(), DataFile(c.file));
        EXPECT_EQ(doc.GetProtection().Get(), c.protection);
        EXPECT_EQ(doc.HeaderGetMachineType(), c.machineType);
        EXPECT_EQ(doc.IsModified(), 0);  // the file's time is kept whatever the result
    }
}

TEST_F(ConfigurationTest, LoadingAgainOverwritesOnlyWhatTheFileHolds) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(DataFile("full.ini").c_str()), RE_SUCCESS);
    EXPECT_EQ(doc.LoadCFG(DataFile("no-machine-type.ini").c_str()), RE_NO_MACHINE_TYPE);
    EXPECT_EQ(doc.HeaderGetMachineType(), "KM-400");
    EXPECT_EQ(doc.HeaderGetDescription(), "d");
    EXPECT_EQ(doc.GetProtection().Get(), 0);
    EXPECT_EQ(doc.GetPathName(), DataFile("no-machine-type.ini"));
}

TEST_F(ConfigurationTest, UnreadableFilesGive62AndChangeNothing) {
    const std::string folder = dir_.File("folder");
    fs::create_directory(folder);
    const std::string empty = dir_.File("empty.ini");
    test::WriteFile(empty, "");
    std::vector<std::string> paths = {dir_.File("missing.ini"), folder, empty, ""};
#ifndef _WIN32
    const std::string pipe = dir_.File("pipe.ini");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // must not wait for a writer
    paths.push_back(pipe);
#endif
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        Configuration doc("kept", 1, 2, 3);
        doc.SetPathName("before.ini");
        EXPECT_EQ(doc.LoadCFG(path.c_str()), RE_FILE_UNREADABLE);
        EXPECT_EQ(doc.GetPathName(), "before.ini");
        EXPECT_EQ(doc.HeaderGetMachineType(), "kept");
        EXPECT_EQ(doc.HeaderGetProcessingRows(), 3);
    }
    Configuration doc;
    EXPECT_EQ(doc.LoadCFG(nullptr), RE_FILE_UNREADABLE);

#ifndef _WIN32
    if (::geteuid() != 0) {  // the superuser reads any file
        const std::string locked = Copy("full.ini");
        fs::permissions(locked, fs::perms::none);
        EXPECT_EQ(doc.LoadCFG(locked.c_str()), RE_FILE_UNREADABLE);
        EXPECT_EQ(doc.GetPathName(), "");
    }
#endif
}

TEST_F(ConfigurationTest, ReleaseEmptiesTheDocumentButKeepsTheFlagAndTheFileTime) {
    const std::string path = Copy("full.ini");
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(path.c_str()), RE_SUCCESS);
    doc.SetModifiedFlag(5);
    doc.ReleaseCFG();
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(doc.GetProtection().Get(), 0);
    EXPECT_EQ(doc.HeaderGetMachineType(), "");
    EXPECT_EQ(doc.HeaderGetStartBlockIndex(), -1);  // HeaderPrg's default, not the document's
    EXPECT_EQ(doc.HeaderGetProcessingRows(), -1);
    EXPECT_EQ(doc.GetHeader().SourceCfg, "base.cfg");  // Reset leaves the source names
    EXPECT_EQ(doc.GetModifiedFlag(), 5);
    EXPECT_EQ(doc.IsModified(), 1);
    doc.SetPathName(path.c_str());
    EXPECT_EQ(doc.IsModified(), 0);
}

TEST_F(ConfigurationTest, CopyIsDeepAndKeepsPathTimeAndFlag) {
    const std::string path = Copy("full.ini");
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(path.c_str()), RE_SUCCESS);
    doc.SetModifiedFlag(1);
    Configuration copy(doc);
    EXPECT_EQ(copy.GetPathName(), path);
    EXPECT_EQ(copy.IsModified(), 0);
    EXPECT_EQ(copy.GetModifiedFlag(), 1);
    EXPECT_EQ(copy.GetProtection().Get(), 1);
    EXPECT_EQ(copy.HeaderGetDescription(), doc.HeaderGetDescription());
    EXPECT_EQ(copy.GetHeader().SourceSdi, "base.sdi");

    copy.HeaderSetDescription("changed");
    copy.GetProtection().Set(0);
    EXPECT_EQ(doc.HeaderGetDescription(), "Two-bed machine\r\nwith speeders");
    EXPECT_EQ(doc.GetProtection().Get(), 1);
}

TEST_F(ConfigurationTest, IsModifiedSeesEveryChangeOfTheFile) {
    const std::string path = Copy("full.ini");
    Configuration doc;
    EXPECT_EQ(doc.IsModified(), 1);  // no path
    ASSERT_EQ(doc.LoadCFG(path.c_str()), RE_SUCCESS);
    EXPECT_EQ(doc.IsModified(), 0);
    doc.SetModifiedFlag(1);
    EXPECT_EQ(doc.IsModified(), 0);  // the caller's flag plays no part

    // A new write time within the same second.
    const auto second = std::chrono::floor<std::chrono::seconds>(fs::last_write_time(path));
    fs::last_write_time(path, second + std::chrono::nanoseconds(100));
    if (fs::last_write_time(path) == second + std::chrono::nanoseconds(100)) {
        ASSERT_EQ(doc.LoadCFG(path.c_str()), RE_SUCCESS);
        EXPECT_EQ(doc.IsModified(), 0);
        fs::last_write_time(path, second + std::chrono::nanoseconds(200));
        EXPECT_EQ(doc.IsModified(), 1);
    } else {
        std::printf("note: sub-second write times cannot be set here; that part is left out\n");
    }

    // Replaced by another file that carries the very same time.
    ASSERT_EQ(doc.LoadCFG(path.c_str()), RE_SUCCESS);
    const std::string other = dir_.File("other.ini");
    test::WriteFile(other, test::ReadFile(path));
    fs::last_write_time(other, fs::last_write_time(path));
    fs::rename(other, path);
    EXPECT_EQ(doc.IsModified(), 1);

    ASSERT_EQ(doc.LoadCFG(path.c_str()), RE_SUCCESS);
    EXPECT_EQ(doc.IsModified(), 0);
    ASSERT_EQ(doc.SaveCFG(path.c_str()), RE_SUCCESS);
    EXPECT_EQ(doc.IsModified(), 1);  // a save does not take the new time

    ASSERT_EQ(doc.LoadCFG(path.c_str()), RE_SUCCESS);
    fs::remove(path);
    EXPECT_EQ(doc.IsModified(), 1);
}

// The steps' first code is the result, and the target still gets the rest.
TEST_F(ConfigurationTest, SaveReportsARefusedKeyAndStillWritesTheTarget) {
    Configuration doc("KM-400", 2, 7, 4);
    doc.HeaderSetDescription("lone\nline feed");
    doc.HeaderSetSourceSdi("lone\rreturn");
    const std::string out = dir_.File("out.ini");
    EXPECT_EQ(doc.SaveCFG(out.c_str()), RE_WRITE_DESCRIPTION);
    EXPECT_EQ(doc.GetPathName(), out);
    EXPECT_FALSE(test::FileExists(TempFile()));
    EXPECT_EQ(test::ReadFile(out),
              "[Protection]\r\nConfigProtected=0\r\n[Header]\r\nMachineType=KM-400\r\n"
              "Version=2.7\r\nNumberOfLines=4\r\nStartBlock=0\r\n");
}

TEST_F(ConfigurationTest, FailedCopyGives63AndLeavesTheTargetAlone) {
    const std::string folder = dir_.File("folder");
    fs::create_directory(folder);
    test::WriteFile(folder + "/inside.txt", "inside");
    const std::string readOnly = Copy("no-header.ini");
    fs::permissions(readOnly, fs::perms::owner_read);
    struct Case {
        std::string target;
        std::string kept;    // what the target path still holds ("" when nothing)
        std::string reason;  // what the error text ends with ("" where the system words it)
    } const cases[] = {
        {dir_.File("missing/cfg.ini"), "", ""},
        {folder, "", "is a folder"},
        {readOnly, test::ReadFile(readOnly), "the file is read-only"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        Configuration doc;
        ASSERT_EQ(doc.LoadCFG(DataFile("full.ini").c_str()), RE_SUCCESS);
        EXPECT_EQ(doc.SaveCFG(c.target.c_str()), RE_FILE_REPLACE);
        const std::string text = doc.GetLastErrorText();
        EXPECT_EQ(text.rfind("saving " + c.target + ": ", 0), 0u) << text;
        EXPECT_GT(text.size(), c.target.size() + 9) << text;
        EXPECT_EQ(text.substr(text.size() - std::min(text.size(), c.reason.size())), c.reason);
        EXPECT_EQ(doc.GetPathName(), c.target);  // bound to the target, not the temporary file
        if (!c.kept.empty()) {
            EXPECT_EQ(test::ReadFile(c.target), c.kept);
        }
        // The temporary file is left, holding the whole document.
        EXPECT_EQ(test::ReadFile(TempFile()), test::ReadFile(DataFile("full.ini")));
    }
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(test::ReadFile(folder + "/inside.txt"), "inside");
    EXPECT_FALSE(fs::exists(dir_.File("missing")));
}

TEST_F(ConfigurationTest, EverySaveStartsFromAnEmptyTemporaryFile) {
    // Left over by an earlier failed save: another document's section.
    Configuration().SaveCFG(dir_.File("first.ini").c_str());
    test::WriteFile(TempFile(), "[Junk]\r\nkey=value\r\n");
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(DataFile("full.ini").c_str()), RE_SUCCESS);
    const std::string out = dir_.File("out.ini");
    ASSERT_EQ(doc.SaveCFG(out.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(out), test::ReadFile(DataFile("full.ini")));
    EXPECT_FALSE(test::FileExists(TempFile()));
}

TEST_F(ConfigurationTest, ALinkPlantedAsTheTemporaryFileIsNotWrittenThrough) {
    const std::string victim = dir_.File("victim.txt");
    test::WriteFile(victim, "precious");
    std::error_code ec;
    fs::create_directory(dir_.File(test::PrivateTempFolderName()), ec);
    fs::permissions(dir_.File(test::PrivateTempFolderName()), fs::perms::owner_all, ec);
    fs::create_symlink(victim, TempFile(), ec);
    if (ec) {
        GTEST_SKIP() << "symbolic links cannot be made here: " << ec.message();
    }
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(DataFile("full.ini").c_str()), RE_SUCCESS);
    const std::string out = dir_.File("out.ini");
    ASSERT_EQ(doc.SaveCFG(out.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(victim), "precious");
    EXPECT_EQ(test::ReadFile(out), test::ReadFile(DataFile("full.ini")));
}

TEST_F(ConfigurationTest, SavingToTheTemporaryFileItselfWritesInPlace) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(DataFile("full.ini").c_str()), RE_SUCCESS);
    ASSERT_EQ(doc.SaveCFG(TempFile().c_str()), RE_SUCCESS);
    EXPECT_EQ(doc.GetPathName(), TempFile());
    EXPECT_EQ(test::ReadFile(TempFile()), test::ReadFile(DataFile("full.ini")));
}

TEST_F(ConfigurationTest, SaveWithoutAUsableTemporaryFolderOrTargetGives63) {
    const std::string target = Copy("no-header.ini");
    const std::string old = test::ReadFile(target);
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(DataFile("full.ini").c_str()), RE_SUCCESS);

    tmp_.Set(dir_.File("missing"));
    EXPECT_EQ(doc.SaveCFG(target.c_str()), RE_FILE_REPLACE);
    EXPECT_EQ(doc.GetLastErrorText().rfind("saving " + target + ": the temporary folder ", 0), 0u)
        << doc.GetLastErrorText();
    EXPECT_EQ(test::ReadFile(target), old);
    EXPECT_EQ(doc.GetPathName(), target);
    tmp_.Set(dir_.path());

    doc.SetPathName("kept.ini");
    EXPECT_EQ(doc.SaveCFG(nullptr), RE_FILE_REPLACE);
    EXPECT_EQ(doc.SaveCFG(""), RE_FILE_REPLACE);
    EXPECT_EQ(doc.GetPathName(), "kept.ini");
    EXPECT_FALSE(test::FileExists(TempFile()));
}

TEST_F(ConfigurationTest, DiskFullWhileSavingGives63AndKeepsTheOldTarget) {
    KNITCFG_REQUIRE_FILE_SIZE_LIMIT();
#ifndef _WIN32
    const std::string target = Copy("no-header.ini");
    const std::string old = test::ReadFile(target);
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(DataFile("full.ini").c_str()), RE_SUCCESS);
    // Room for the old target, not for the document.
    // The child answers 63 only when the error text names the target and the
    // system's reason.
    const std::string expected = "saving " + target + ": ";
    EXPECT_EQ(test::RunWithFileSizeLimit(old.size(),
                                         [&] {
                                             const int code = doc.SaveCFG(target.c_str());
                                             const std::string text = doc.GetLastErrorText();
                                             return text.rfind(expected, 0) == 0 &&
                                                            text.find("file too large") !=
                                                                std::string::npos
                                                        ? code
                                                        : 1;
                                         }),
              RE_FILE_REPLACE);
    EXPECT_EQ(test::ReadFile(target), old);
#endif
}

// Both processes use the one temporary file; they must take turns on it.
// Each child saves its own document many times (ConfigurationChild below).
TEST_F(ConfigurationTest, TwoProcessesSavingAtOnceEachWriteTheirOwnDocument) {
    const std::string targetA = dir_.File("a.ini");
    const std::string targetB = dir_.File("b.ini");
    const std::string gate = dir_.File("gate");
    const test::ChildId childA =
        test::StartChildTest("ConfigurationChild.SavesRepeatedly", {targetA, "KM-A", "a", gate});
    const test::ChildId childB =
        test::StartChildTest("ConfigurationChild.SavesRepeatedly", {targetB, "KM-B", "b", gate});
    // Open the gate: both start saving together.
    test::WriteFile(gate, "go");
    EXPECT_EQ(test::WaitChildTest(childA), 0);
    EXPECT_EQ(test::WaitChildTest(childB), 0);
    Configuration a, b;
    ASSERT_EQ(a.LoadCFG(targetA.c_str()), RE_SUCCESS);
    ASSERT_EQ(b.LoadCFG(targetB.c_str()), RE_SUCCESS);
    EXPECT_EQ(a.HeaderGetMachineType(), "KM-A");
    EXPECT_EQ(b.HeaderGetMachineType(), "KM-B");
    EXPECT_TRUE(a.HeaderGetDescription() == std::string(6000, 'a'));
    EXPECT_TRUE(b.HeaderGetDescription() == std::string(6000, 'b'));
    EXPECT_FALSE(test::FileExists(TempFile()));
}

// The child of the test above: args are the target, the machine type, the
// description's letter and the gate file to wait for. The temporary folder
// is inherited from the parent, so both children share the one file.
TEST(ConfigurationChild, SavesRepeatedly) {
    const std::vector<std::string> args = test::ChildArgs();
    if (args.size() != 4) {
        GTEST_SKIP() << "runs only as a child of a two-process test";
    }
    Configuration doc(args[1].c_str(), 1, 1, 4);
    // Big enough that a save takes a while.
    doc.HeaderSetDescription(std::string(6000, args[2][0]).c_str());
    while (!test::FileExists(args[3])) {
        std::this_thread::yield();
    }
    std::string expected;
    for (int i = 0; i < 40; ++i) {
        ASSERT_EQ(doc.SaveCFG(args[0].c_str()), RE_SUCCESS);
        const std::string text = test::ReadFile(args[0]);
        if (i == 0) {
            expected = text;
        }
        ASSERT_TRUE(text == expected) << "the target holds another save's content";
    }
}

}  // namespace
}  // namespace knitcfg
