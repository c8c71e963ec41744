#include "Address.h"

#include <knitcfg/knitcfg.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <functional>
#include <utility>

namespace knitcfg::cli {

namespace {

// ---------------------------------------------------------------- numbers

// A whole word as a decimal integer: an optional sign and digits, nothing
// else. The library writes numbers this way, so a value typed like this is
// one it reads back.
bool ParseInteger(const std::string& word, long long* value) {
    std::size_t i = (!word.empty() && (word[0] == '-' || word[0] == '+')) ? 1 : 0;
    if (i == word.size() || word.size() > 20) {
        return false;
    }
    for (std::size_t j = i; j < word.size(); ++j) {
        if (word[j] < '0' || word[j] > '9') {
            return false;
        }
    }
    errno = 0;
    char* end = nullptr;
    *value = std::strtoll(word.c_str(), &end, 10);
    return errno == 0 && end == word.c_str() + word.size();
}

bool ParseShortWord(const std::string& word, short* value) {
    long long n = 0;
    if (!ParseInteger(word, &n) || n < SHRT_MIN || n > SHRT_MAX) {
        return false;
    }
    *value = static_cast<short>(n);
    return true;
}

// `text` as an integer from `low` to `high`, or a message.
bool ParseNumber(const std::string& field, const std::string& text, long long low, long long high,
                 long long* value, std::string* error) {
    if (!ParseInteger(text, value)) {
        *error = "'" + text + "' is not a number (" + field + " takes a whole number)";
        return false;
    }
    if (*value < low || *value > high) {
        *error = "'" + text + "' is out of range for " + field + ": " + std::to_string(low) +
                 " to " + std::to_string(high);
        return false;
    }
    return true;
}

// The texts that a speeder and a design stepping motor keep as written: a
// signed decimal such as "+0.750", at most 10 characters, the room the
// library reads them into.
bool ParseDecimalText(const std::string& field, const std::string& text, std::string* error) {
    constexpr std::size_t kRoom = 10;
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    std::size_t digits = 0;
    bool point = false;
    bool ok = i < text.size();
    for (; ok && i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            ++digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            ok = false;
        }
    }
    if (!ok || digits == 0) {
        *error = "'" + text + "' is not a number (" + field + " is a decimal such as +0.750)";
        return false;
    }
    if (text.size() > kRoom) {
        *error = "'" + text + "' is too long for " + field + ": at most " + std::to_string(kRoom) +
                 " characters";
        return false;
    }
    return true;
}

// ------------------------------------------------------------------ texts

enum class Lines { One, Many };

// Whether `text` (as typed: a line break written as backslash + n where
// `lines` allows them; elsewhere backslash + n is kept as two characters,
// and read back so) is a value that the file holds and gives back
// unchanged: no control character, no blank at either end and no outer
// quotes (the reader drops them), at most `room` characters as written.
bool CheckText(const std::string& field, const std::string& text, Lines lines, std::size_t room,
               const char* forbidden, std::string* error) {
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7f) {
            *error = field + " cannot hold control characters or line breaks" +
                     (lines == Lines::Many ? std::string(" (write a line break as \\n)") : "");
            return false;
        }
    }
    for (const char* f = forbidden; *f != '\0'; ++f) {
        if (text.find(*f) != std::string::npos) {
            *error = field + " cannot hold '" + std::string(1, *f) + "'";
            return false;
        }
    }
    if (!text.empty() && (text.front() == ' ' || text.back() == ' ')) {
        *error = field + " cannot begin or end with a blank: the file would not give it back";
        return false;
    }
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        *error = field + " cannot be put in quotes: the file would give it back without them";
        return false;
    }
    if (text.size() > room) {
        *error = field + " is too long: at most " + std::to_string(room) + " characters";
        return false;
    }
    return true;
}

// Header values are read through 8192 characters, color help texts
// through 260, plane entries through 512 (NUL included).
constexpr std::size_t kHeaderRoom = 8191;
constexpr std::size_t kHelpRoom = 259;
constexpr std::size_t kPlaneEntryRoom = 511;

bool ParseFlag(const std::string& text, bool* flag) {
    for (const char* yes : {"1", "true", "yes"}) {
        if (text == yes) {
            *flag = true;
            return true;
        }
    }
    for (const char* no : {"0", "false", "no"}) {
        if (text == no) {
            *flag = false;
            return true;
        }
    }
    return false;
}

// ----------------------------------------------------------------- fields

struct Context {
    Configuration& config;
    const Resolved& at;
};

// One field of an object: how it is read, and how it is set (null when it
// cannot be, with the reason). A setter checks `text` and, only when it is
// a value the field can hold, changes the model.
struct Field {
    const char* name;
    std::function<Value(const Context&)> get;
    std::function<bool(const Context&, const std::string& text, std::string* error)> set;
    const char* readOnly = nullptr;
};

// A setter of a field that holds a number from `low` to `high`.
template <class Apply>
auto NumberSetter(const char* name, long long low, long long high, Apply apply) {
    return [=](const Context& c, const std::string& text, std::string* error) {
        long long n = 0;
        if (!ParseNumber(name, text, low, high, &n, error)) {
            return false;
        }
        apply(c, n);
        return true;
    };
}

const std::vector<Field>& HeaderFields() {
    static const std::vector<Field> fields = [] {
        auto header = [](const Context& c) -> HeaderPrg& { return c.config.GetHeader(); };
        auto line = [header](const char* name, std::string HeaderPrg::*member,
                             void (Configuration::*setter)(const char*), const char* forbidden) {
            return Field{
                name, [=](const Context& c) { return Value::Text(header(c).*member); },
                [=](const Context& c, const std::string& text, std::string* error) {
                    if (!CheckText(name, text, Lines::One, kHeaderRoom, forbidden, error)) {
                        return false;
                    }
                    if (setter != nullptr) {
                        (c.config.*setter)(text.c_str());
                    } else {
                        header(c).*member = text;
                    }
                    return true;
                }};
        };
        std::vector<Field> f;
        // The machine type has no accessor: the header is a plain class.
        f.push_back(line("machineType", &HeaderPrg::MachineType, nullptr, ""));
        f.push_back({"version",
                     [header](const Context& c) {
                         return Value::Text(std::to_string(header(c).VersionMajor) + "." +
                                            std::to_string(header(c).VersionMinor));
                     },
                     [header](const Context& c, const std::string& text, std::string* error) {
                         const std::size_t dot = text.find('.');
                         long long major = 0;
                         long long minor = 0;
                         if (dot == std::string::npos ||
                             !ParseInteger(text.substr(0, dot), &major) ||
                             !ParseInteger(text.substr(dot + 1), &minor) || text[0] == '-' ||
                             text[0] == '+' || text[dot + 1] == '-' || text[dot + 1] == '+' ||
                             major > INT_MAX || minor > INT_MAX) {
                             *error = "'" + text +
                                      "' is not a version: two numbers around a point, "
                                      "such as 3.2";
                             return false;
                         }
                         header(c).VersionMajor = static_cast<int>(major);
                         header(c).VersionMinor = static_cast<int>(minor);
                         return true;
                     }});
        f.push_back(
            {"versionMajor",
             [header](const Context& c) { return Value::Int(header(c).VersionMajor); },
             NumberSetter("versionMajor", 0, INT_MAX, [header](const Context& c, long long n) {
                 header(c).VersionMajor = static_cast<int>(n);
             })});
        f.push_back(
            {"versionMinor",
             [header](const Context& c) { return Value::Int(header(c).VersionMinor); },
             NumberSetter("versionMinor", 0, INT_MAX, [header](const Context& c, long long n) {
                 header(c).VersionMinor = static_cast<int>(n);
             })});
        f.push_back({"description",
                     [header](const Context& c) { return Value::Text(header(c).Description); },
                     [](const Context& c, const std::string& text, std::string* error) {
                         if (!CheckText("description", text, Lines::Many, kHeaderRoom, "", error)) {
                             return false;
                         }
                         c.config.HeaderSetDescription(UnescapeNewLines(text.c_str()).c_str());
                         return true;
                     }});
        // Zero or less would make the file fail to load (code 8 and 9).
        f.push_back({"numberOfLines",
                     [header](const Context& c) { return Value::Int(header(c).NumberOfLines); },
                     NumberSetter("numberOfLines", 1, SHRT_MAX, [](const Context& c, long long n) {
                         c.config.HeaderSetProcessingRows(static_cast<int>(n));
                     })});
        f.push_back({"startBlock",
                     [header](const Context& c) { return Value::Int(header(c).StartBlock); },
                     NumberSetter("startBlock", 0, SHRT_MAX, [](const Context& c, long long n) {
                         c.config.HeaderSetStartBlockIndex(static_cast<int>(n));
                     })});
        f.push_back({"lastDevelop",
                     [header](const Context& c) { return Value::Text(header(c).LastDevelop); },
                     [header](const Context& c, const std::string& text, std::string* error) {
                         // "name,first,second": a comma would end the name, and a drive
                         // before a backslash is dropped when the file is read.
                         if (!CheckText("lastDevelop", text, Lines::One, kHeaderRoom, ",", error)) {
                             return false;
                         }
                         if (text.find(":\\") != std::string::npos) {
                             *error = "lastDevelop cannot hold a drive (':\\'): the file drops it";
                             return false;
                         }
                         const HeaderPrg& h = header(c);
                         // Without a name nothing is written, and the numbers read back as 0.
                         c.config.HeaderSetLastDevelop(text.c_str(),
                                                       text.empty() ? 0 : h.LastDevelopFirst,
                                                       text.empty() ? 0 : h.LastDevelopSecond);
                         return true;
                     }});
        for (const bool first : {true, false}) {
            const char* name = first ? "lastDevelopFirst" : "lastDevelopSecond";
            f.push_back(
                {name,
                 [header, first](const Context& c) {
                     return Value::Int(first ? header(c).LastDevelopFirst
                                             : header(c).LastDevelopSecond);
                 },
                 [header, first, name](const Context& c, const std::string& text,
                                       std::string* error) {
                     long long n = 0;
                     if (!ParseNumber(name, text, INT_MIN, INT_MAX, &n, error)) {
                         return false;
                     }
                     const HeaderPrg& h = header(c);
                     if (h.LastDevelop.empty()) {
                         *error = std::string(name) +
                                  " is written only with a lastDevelop name, and there is none";
                         return false;
                     }
                     c.config.HeaderSetLastDevelop(
                         h.LastDevelop.c_str(), first ? static_cast<int>(n) : h.LastDevelopFirst,
                         first ? h.LastDevelopSecond : static_cast<int>(n));
                     return true;
                 }});
        }
        f.push_back(
            line("sourceCfg", &HeaderPrg::SourceCfg, &Configuration::HeaderSetSourceCfg, ""));
        f.push_back(
            line("sourceSdi", &HeaderPrg::SourceSdi, &Configuration::HeaderSetSourceSdi, ""));
        return f;
    }();
    return fields;
}

const std::vector<Field>& PlaneFields() {
    static const std::vector<Field> fields = [] {
        std::vector<Field> f;
        f.push_back({"number", [](const Context& c) { return Value::Int(c.at.plane->Number); },
                     nullptr, "it is the plane's address"});
        const char* fromHeader =
            "a plane entry does not hold it: every plane takes the header's when the file is read";
        f.push_back({"numberOfLines",
                     [](const Context& c) { return Value::Int(c.at.plane->NumberOfLines); },
                     nullptr, fromHeader});
        f.push_back({"startBlock",
                     [](const Context& c) { return Value::Int(c.at.plane->StartBlock); }, nullptr,
                     fromHeader});
        f.push_back({"description",
                     [](const Context& c) { return Value::Text(c.at.plane->Description); },
                     [](const Context& c, const std::string& text, std::string* error) {
                         // The entry is "number, description, priority".
                         const std::size_t room = kPlaneEntryRoom -
                                                  std::to_string(c.at.plane->Number).size() -
                                                  std::to_string(c.at.plane->Priority).size() - 4;
                         if (!CheckText("description", text, Lines::One, room, ",", error)) {
                             return false;
                         }
                         c.at.plane->Description = text;
                         return true;
                     }});
        f.push_back(
            {"priority", [](const Context& c) { return Value::Int(c.at.plane->Priority); },
             NumberSetter("priority", SHRT_MIN, SHRT_MAX, [](const Context& c, long long n) {
                 c.at.plane->Priority = static_cast<short>(n);
             })});
        return f;
    }();
    return fields;
}

std::string NumberList(const std::vector<short>& numbers);

const std::vector<Field>& ColorFields() {
    static const std::vector<Field> fields = [] {
        std::vector<Field> f;
        f.push_back({"id", [](const Context& c) { return Value::Int(c.at.color->ID); }, nullptr,
                     "it is the color's address"});
        f.push_back(
            {"plane", [](const Context& c) { return Value::Int(c.at.color->Plane); },
             [](const Context& c, const std::string& text, std::string* error) {
                 long long n = 0;
                 if (!ParseNumber("plane", text, SHRT_MIN, SHRT_MAX, &n, error)) {
                     return false;
                 }
                 const auto& planes = c.config.Planes();
                 if (!planes.empty() && c.config.GetPlane(static_cast<short>(n)) == nullptr) {
                     std::vector<short> numbers;
                     for (const auto& p : planes) {
                         numbers.push_back(p->Number);
                     }
                     *error = "no plane " + text + ": the planes are " + NumberList(numbers);
                     return false;
                 }
                 c.at.color->Plane = static_cast<short>(n);
                 return true;
             }});
        auto help = [](const char* name, std::string ColorPrg::*member,
                       int (Configuration::*setter)(short, const char*)) {
            return Field{name, [=](const Context& c) { return Value::Text(c.at.color->*member); },
                         [=](const Context& c, const std::string& text, std::string* error) {
                             if (!CheckText(name, text, Lines::Many, kHelpRoom, "", error)) {
                                 return false;
                             }
                             // The color is the first with its number, as the setter's.
                             (c.config.*setter)(c.at.color->ID,
                                                UnescapeNewLines(text.c_str()).c_str());
                             return true;
                         }};
        };
        f.push_back(
            help("helpAbstract", &ColorPrg::HelpAbstract, &Configuration::SetColorHelpAbstrct));
        f.push_back(help("help", &ColorPrg::Help, &Configuration::SetColorHelp));
        return f;
    }();
    return fields;
}

const std::vector<Field>& LineFields() {
    static const std::vector<Field> fields = [] {
        const char* notWritten = "the library does not write it back";
        std::vector<Field> f;
        f.push_back({"id", [](const Context& c) { return Value::Int(c.at.line->ID); }, nullptr,
                     "it is the line's address"});
        f.push_back({"plane", [](const Context& c) { return Value::Int(c.at.line->Plane); },
                     nullptr, "it is part of the line's address"});
        f.push_back({"help", [](const Context& c) { return Value::Text(c.at.line->Help); }, nullptr,
                     notWritten});
        return f;
    }();
    return fields;
}

// The design stepping motor has no setters: its fields change only when its
// entry is read. The tool edits a copy through the protected fields and
// assigns it back, so the actuator keeps its place in its color.
class DisEditor : public StepMotorDisColor {
public:
    enum class Ramp { NeedleStart, NeedleEnd, RankStart, RankEnd, BalanceStart, BalanceEnd };

    static void SetPosition(Attuat& actuator, bool needles, const std::string& text) {
        DisEditor copy(static_cast<StepMotorDisColor&>(actuator));
        (needles ? copy.QuotaAghi : copy.QuotaRanghi) = text;
        static_cast<StepMotorDisColor&>(actuator) = copy;
    }
    static void SetRamp(Attuat& actuator, Ramp which, short value) {
        DisEditor copy(static_cast<StepMotorDisColor&>(actuator));
        short* fields[] = {&copy.RampaInizAghi,  &copy.RampaFinAghi, &copy.RampaInizRanghi,
                           &copy.RampaFinRanghi, &copy.BilancIniz,   &copy.BilancFin};
        *fields[static_cast<int>(which)] = value;
        static_cast<StepMotorDisColor&>(actuator) = copy;
    }

private:
    explicit DisEditor(const StepMotorDisColor& from) : StepMotorDisColor(from) {}
};

bool KindHasState(const Attuat& a) {
    return a.IsKindOf(DrumColor::GetThisClass()) || a.IsKindOf(FingerColor::GetThisClass()) ||
           a.IsKindOf(SplitterColor::GetThisClass()) || a.IsKindOf(TriangleColor::GetThisClass()) ||
           a.IsKindOf(StepMotorColor::GetThisClass());
}

// The fields of an actuator, and which kinds have each.
struct ActuatorField {
    Field field;
    std::function<bool(const Attuat&)> has;
};

const std::vector<ActuatorField>& ActuatorFields() {
    static const std::vector<ActuatorField> fields = [] {
        auto all = [](const Attuat&) { return true; };
        auto isA = [](const RuntimeClass* kind) {
            return [kind](const Attuat& a) { return a.IsKindOf(kind); };
        };
        auto dis = isA(StepMotorDisColor::GetThisClass());
        std::vector<ActuatorField> f;
        f.push_back({{"kind",
                      [](const Context& c) {
                          return Value::Text(c.at.actuator->GetRuntimeClass()->className);
                      },
                      nullptr, "it is the kind of the entry"},
                     all});
        f.push_back({{"id", [](const Context& c) { return Value::Short(c.at.actuator->Id); },
                      nullptr, "it is the actuator's address"},
                     all});
        // Kept in place: the library does not move an actuator whose feed
        // changes either, and the file keeps its order.
        f.push_back({{"feed", [](const Context& c) { return Value::Short(c.at.actuator->Caduta); },
                      NumberSetter("feed", SHRT_MIN, SHRT_MAX,
                                   [](const Context& c, long long n) {
                                       c.at.actuator->Caduta = static_cast<short>(n);
                                   })},
                     all});
        f.push_back(
            {{"feedId", [](const Context& c) { return Value::Short(c.at.actuator->IdCaduta); },
              NumberSetter("feedId", SHRT_MIN, SHRT_MAX,
                           [](const Context& c, long long n) {
                               c.at.actuator->IdCaduta = static_cast<short>(n);
                           })},
             all});
        f.push_back(
            {{"state", [](const Context& c) { return Value::Short(c.at.actuator->GetStato()); },
              NumberSetter("state", SHRT_MIN, SHRT_MAX,
                           [](const Context& c, long long n) {
                               c.at.actuator->SetStato(static_cast<short>(n));
                           })},
             KindHasState});
        f.push_back({{"position",
                      [](const Context& c) {
                          const int quota = c.at.actuator->GetQuota();
                          return quota == 32768 ? Value{} : Value::Int(quota);
                      },
                      NumberSetter("position", INT_MIN, INT_MAX,
                                   [](const Context& c, long long n) {
                                       c.at.actuator->SetQuota(static_cast<int>(n));
                                   })},
                     isA(StepMotorColor::GetThisClass())});
        f.push_back(
            {{"speed", [](const Context& c) { return Value::Text(c.at.actuator->GetVelocita()); },
              [](const Context& c, const std::string& text, std::string* error) {
                  if (!ParseDecimalText("speed", text, error)) {
                      return false;
                  }
                  c.at.actuator->SetVelocita(text.c_str());
                  return true;
              }},
             isA(SpeederColor::GetThisClass())});
        for (const bool needles : {true, false}) {
            const char* name = needles ? "needlePosition" : "rankPosition";
            f.push_back(
                {{name,
                  [needles](const Context& c) {
                      return Value::Text(needles ? c.at.actuator->GetQuotaAghi()
                                                 : c.at.actuator->GetQuotaRanghi());
                  },
                  [needles, name](const Context& c, const std::string& text, std::string* error) {
                      if (!ParseDecimalText(name, text, error)) {
                          return false;
                      }
                      DisEditor::SetPosition(*c.at.actuator, needles, text);
                      return true;
                  }},
                 dis});
        }
        using Ramp = DisEditor::Ramp;
        const std::pair<const char*, Ramp> ramps[] = {
            {"needleStartRamp", Ramp::NeedleStart}, {"needleEndRamp", Ramp::NeedleEnd},
            {"rankStartRamp", Ramp::RankStart},     {"rankEndRamp", Ramp::RankEnd},
            {"startBalance", Ramp::BalanceStart},   {"endBalance", Ramp::BalanceEnd}};
        for (const auto& [name, which] : ramps) {
            const Ramp ramp = which;
            f.push_back({{name,
                          [ramp](const Context& c) {
                              const Attuat& a = *c.at.actuator;
                              const short values[] = {a.GetRampaInizAghi(),   a.GetRampaFinAghi(),
                                                      a.GetRampaInizRanghi(), a.GetRampaFinRanghi(),
                                                      a.GetBilancIniz(),      a.GetBilancFin()};
                              return Value::Int(values[static_cast<int>(ramp)]);
                          },
                          NumberSetter(name, SHRT_MIN, SHRT_MAX,
                                       [ramp](const Context& c, long long n) {
                                           DisEditor::SetRamp(*c.at.actuator, ramp,
                                                              static_cast<short>(n));
                                       })},
                         dis});
        }
        return f;
    }();
    return fields;
}

// The field `name` of what `address` names, or a message listing the
// fields there are.
const Field* FindField(const Address& address, const Resolved& at, std::string* error) {
    std::vector<const Field*> fields;
    std::string what;
    auto take = [&](const std::vector<Field>& list) {
        for (const Field& f : list) {
            fields.push_back(&f);
        }
    };
    switch (address.target) {
        case Address::Target::Header:
            take(HeaderFields());
            what = "the header";
            break;
        case Address::Target::Plane:
            take(PlaneFields());
            what = "a plane";
            break;
        case Address::Target::Color:
            take(ColorFields());
            what = "a color";
            break;
        case Address::Target::Line:
            take(LineFields());
            what = "a line";
            break;
        case Address::Target::ColorActuator:
        case Address::Target::LineActuator:
            for (const ActuatorField& f : ActuatorFields()) {
                if (f.has(*at.actuator)) {
                    fields.push_back(&f.field);
                }
            }
            what = std::string("a ") + at.actuator->GetRuntimeClass()->className;
            break;
        case Address::Target::Protected: break;
    }
    std::string names;
    for (const Field* f : fields) {
        if (address.field == f->name) {
            return f;
        }
        names += (names.empty() ? "" : ", ") + std::string(f->name);
    }
    *error = what + " has no field '" + address.field + "'; its fields are " + names;
    return nullptr;
}

// ---------------------------------------------------------------- lookups

// "1, 2, 3", the first 20 of a long list and how many there are.
std::string NumberList(const std::vector<short>& numbers) {
    constexpr std::size_t kShown = 20;
    if (numbers.empty()) {
        return "none";
    }
    std::string out;
    for (std::size_t i = 0; i < numbers.size() && i < kShown; ++i) {
        out += (i == 0 ? "" : ", ") + std::to_string(numbers[i]);
    }
    if (numbers.size() > kShown) {
        out += ", ... (" + std::to_string(numbers.size()) + " in all)";
    }
    return out;
}

std::string ActuatorIds(const std::vector<std::unique_ptr<Attuat>>& actuators) {
    std::vector<short> ids;
    for (const auto& a : actuators) {
        ids.push_back(a->Id);
    }
    return NumberList(ids);
}

bool Fail(std::string* error, std::string message) {
    *error = std::move(message);
    return false;
}

}  // namespace

bool ParseAddress(const std::vector<std::string>& words, Address* address, std::string* error) {
    Address a;
    std::size_t i = 0;
    auto number = [&](const char* what, short* value) {
        if (i >= words.size()) {
            return Fail(error, std::string(what) + " needs a number");
        }
        if (!ParseShortWord(words[i], value)) {
            return Fail(error, std::string(what) + " needs a number; '" + words[i] + "' is none");
        }
        ++i;
        return true;
    };
    const std::string first = words.empty() ? "" : words[0];
    ++i;
    using T = Address::Target;
    if (first == "header") {
        a.target = T::Header;
    } else if (first == "protected") {
        a.target = T::Protected;
    } else if (first == "plane") {
        a.target = T::Plane;
        if (!number("plane", &a.number)) {
            return false;
        }
    } else if (first == "color" || first == "line") {
        a.target = first == "color" ? T::Color : T::Line;
        if (!number(first.c_str(), &a.number)) {
            return false;
        }
        short plane = 0;
        // "line N plane P" names a line; "line N plane" is the line's plane field.
        if (a.target == T::Line && i + 1 < words.size() && words[i] == "plane" &&
            ParseShortWord(words[i + 1], &plane)) {
            a.hasLinePlane = true;
            a.linePlane = plane;
            i += 2;
        }
        if (i < words.size() && words[i] == "actuator") {
            ++i;
            a.target = a.target == T::Color ? T::ColorActuator : T::LineActuator;
            if (!number("actuator", &a.actuator)) {
                return false;
            }
        }
    } else {
        return Fail(error, "expected header, protected, plane N, color N or line N" +
                               (first.empty() ? std::string() : "; got '" + first + "'"));
    }
    if (i < words.size() && a.target != T::Protected) {
        a.field = words[i++];
    }
    if (i < words.size()) {
        return Fail(error, "'" + words[i] + "' after a whole address");
    }
    *address = std::move(a);
    return true;
}

bool Resolve(Configuration& config, const Address& address, Resolved* resolved,
             std::string* error) {
    Resolved r;
    using T = Address::Target;
    const std::string n = std::to_string(address.number);
    if (address.target == T::Plane) {
        r.plane = config.GetPlane(address.number);
        if (r.plane == nullptr) {
            std::vector<short> numbers;
            for (const auto& p : config.Planes()) {
                numbers.push_back(p->Number);
            }
            return Fail(error, "no plane " + n + ": the planes are " + NumberList(numbers));
        }
    }
    if (address.target == T::Color || address.target == T::ColorActuator) {
        r.color = config.GetColor(address.number);
        if (r.color == nullptr) {
            std::vector<short> numbers;
            for (const auto& c : config.Colors()) {
                numbers.push_back(c->ID);
            }
            return Fail(error, "no color " + n + ": the colors are " + NumberList(numbers));
        }
        if (address.target == T::ColorActuator) {
            r.actuator = r.color->GetAttuat(address.actuator);
            if (r.actuator == nullptr) {
                return Fail(error, "color " + n + " has no actuator " +
                                       std::to_string(address.actuator) + "; its actuators are " +
                                       ActuatorIds(r.color->Attuats));
            }
        }
    }
    if (address.target == T::Line || address.target == T::LineActuator) {
        std::vector<short> planes;  // of the lines with the number
        for (const auto& line : config.Lines()) {
            if (line->ID == address.number) {
                planes.push_back(line->Plane);
            }
        }
        if (address.hasLinePlane) {
            r.line = config.GetLine(address.number, address.linePlane);
        } else if (planes.size() == 1) {
            r.line = config.GetLine(address.number, planes[0]);
        } else if (planes.size() > 1) {
            return Fail(error, "line " + n + " is on planes " + NumberList(planes) +
                                   ": say which, as 'line " + n + " plane P'");
        }
        if (r.line == nullptr) {
            std::string lines;
            std::size_t shown = 0;
            for (const auto& line : config.Lines()) {
                if (shown++ == 20) {
                    lines += ", ... (" + std::to_string(config.Lines().size()) + " in all)";
                    break;
                }
                lines += (lines.empty() ? "" : ", ") + std::to_string(line->ID) + " (plane " +
                         std::to_string(line->Plane) + ")";
            }
            return Fail(error,
                        "no line " + n +
                            (address.hasLinePlane ? " on plane " + std::to_string(address.linePlane)
                                                  : std::string()) +
                            ": the lines are " + (lines.empty() ? "none" : lines));
        }
        r.linePlane = r.line->Plane;
        if (address.target == T::LineActuator) {
            r.actuator = r.line->GetAttuat(address.actuator);
            if (r.actuator == nullptr) {
                return Fail(error, "line " + n + " plane " + std::to_string(r.linePlane) +
                                       " has no actuator " + std::to_string(address.actuator) +
                                       "; its actuators are " + ActuatorIds(r.line->Attuats));
            }
        }
    }
    *resolved = r;
    return true;
}

std::string ObjectWords(const Address& address, const Resolved& resolved) {
    using T = Address::Target;
    const std::string n = std::to_string(address.number);
    switch (address.target) {
        case T::Header: return "header";
        case T::Protected: return "protected";
        case T::Plane: return "plane " + n;
        case T::Color: return "color " + n;
        case T::ColorActuator:
            return "color " + n + " actuator " + std::to_string(address.actuator);
        case T::Line: return "line " + n + " plane " + std::to_string(resolved.linePlane);
        case T::LineActuator:
            return "line " + n + " plane " + std::to_string(resolved.linePlane) + " actuator " +
                   std::to_string(address.actuator);
    }
    return {};
}

bool GetField(const Configuration& config, const Address& address, const Resolved& resolved,
              Value* value, std::string* error) {
    if (address.target == Address::Target::Protected) {
        *value = Value::Bool(config.GetProtection().Get() != 0);
        return true;
    }
    const Field* field = FindField(address, resolved, error);
    if (field == nullptr) {
        return false;
    }
    // Getters only read; the context is shared with the setters.
    *value = field->get(Context{const_cast<Configuration&>(config), resolved});
    return true;
}

bool SetField(Configuration& config, const Address& address, const Resolved& resolved,
              const std::string& text, std::string* error) {
    if (address.target == Address::Target::Protected) {
        bool flag = false;
        if (!ParseFlag(text, &flag)) {
            return Fail(error, "'" + text +
                                   "' is not a flag: protected takes 1 or 0 (yes, no, "
                                   "true, false)");
        }
        config.GetProtection().Set(flag ? 1 : 0);
        return true;
    }
    if (address.field.empty()) {
        return Fail(error, "say which field to set");
    }
    const Field* field = FindField(address, resolved, error);
    if (field == nullptr) {
        return false;
    }
    if (!field->set) {
        return Fail(error, address.field + " cannot be set: " + field->readOnly);
    }
    return field->set(Context{config, resolved}, text, error);
}

}  // namespace knitcfg::cli
