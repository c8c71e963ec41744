#include "knitcfg/diagnostics/Diagnostic.h"

#include <gtest/gtest.h>

#include "TestUtil.h"

namespace knitcfg {
namespace {

using test::TempDir;
using test::WriteFile;

TEST(DiagnoseTest, Placeholder) {
    TempDir dir;
    WriteFile(dir.File("a.ini"), "[Protection]\nConfigProtected=0\n");
    EXPECT_FALSE(Diagnose(dir.File("a.ini").c_str()).empty());
}

}  // namespace
}  // namespace knitcfg
