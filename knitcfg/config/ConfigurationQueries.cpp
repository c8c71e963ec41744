// The document's queries and edits: counts, lookups, actuator values, the
// index-list queries, adding and removing colors and lines, replacing blocks
// and the help texts of colors.

#include <algorithm>
#include <cstdint>
#include <new>
#include <unordered_set>
#include <utility>

#include "knitcfg/actuators/detail/EntryParser.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/designs/SectionText.h"

namespace knitcfg {

namespace {

constexpr const char* kNoHelp = "No Help Description";
constexpr const char* kNoHelpAbstract = "No Help Abstract Description";

template <class T>
short Count16(const std::vector<T>& list) {
    return entry::Low16(static_cast<std::int32_t>(list.size()));
}

// The first program of `list` whose ID is `id`, or null.
template <class Program>
Program* FirstWithId(const std::vector<std::unique_ptr<Program>>& list, short id) {
    for (const std::unique_ptr<Program>& program : list) {
        if (program->ID == id) {
            return program.get();
        }
    }
    return nullptr;
}

// The number a plane's line in position `index` carries: planes hold their
// lines in blocks of ten. Unsigned arithmetic: any two ints give a number,
// kept as 16 bits.
short LineNumber(int index, int plane) {
    const std::uint32_t bits =
        static_cast<std::uint32_t>(index) + (static_cast<std::uint32_t>(plane) - 1u) * 10u;
    return entry::Low16(static_cast<std::int32_t>(bits & 0xFFFFu));
}

// The number of lines of `plane` in the line list.
int LinesOfPlane(const std::vector<std::unique_ptr<LinePrg>>& lines, short plane) {
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [plane](const auto& line) { return line->Plane == plane; }));
}

// Whether an index-list query keeps only the numbers the list does not hold.
enum class Keep { kDistinct, kAll };

// The one walk behind every index-list query: asks each program of
// `programs`, in list order, to add to the list with `query` and `args`.
// Returns -1 as soon as a program's query returns 0, else the size of the
// list afterwards.
//
// For distinct results each program fills a list of its own, which is then
// merged through a set of the numbers held: asked to append to the caller's
// list directly, every program would search the whole list for each of its
// actuators, and a document of many colors would cost the square of its
// size. The numbers appended, and their order, are the same.
template <class Program, class... Args>
short ListOver(const std::vector<std::unique_ptr<Program>>& programs, IndexList* list, Keep keep,
               int (Program::*query)(IndexList*, Args...) const, Args... args) {
    if (list == nullptr) {
        return 0;
    }
    if (keep == Keep::kAll) {
        for (const std::unique_ptr<Program>& program : programs) {
            if (((*program).*query)(list, args...) == 0) {
                return -1;
            }
        }
        return Count16(*list);
    }
    std::unordered_set<short> held(list->begin(), list->end());
    IndexList found;
    for (const std::unique_ptr<Program>& program : programs) {
        found.clear();
        const int ok = ((*program).*query)(&found, args...);
        for (short number : found) {
            if (held.insert(number).second) {
                list->push_back(number);
            }
        }
        if (ok == 0) {
            return -1;
        }
    }
    return Count16(*list);
}

// The ID of the first color whose text `field` equals `text` without regard
// to letter case, or -1.
short ColorForText(const std::vector<std::unique_ptr<ColorPrg>>& colors,
                   std::string ColorPrg::*field, const char* text) {
    if (text == nullptr) {
        return -1;
    }
    for (const std::unique_ptr<ColorPrg>& color : colors) {
        if (designs::EqualsNoCase((*color).*field, text)) {
            return color->ID;
        }
    }
    return -1;
}

}  // namespace

// --- Counts and lookups ----------------------------------------------------

short Configuration::GetPlanesCount() const {
    return Count16(planes_);
}

short Configuration::GetLinesCount() const {
    return Count16(lines_);
}

short Configuration::GetColorsCount() const {
    return Count16(colors_);
}

PlanePrg* Configuration::GetPlane(short number) {
    for (const std::unique_ptr<PlanePrg>& plane : planes_) {
        if (plane->Number == number) {
            return plane.get();
        }
    }
    return nullptr;
}

ColorPrg* Configuration::GetColor(short id) {
    return id < 0 ? nullptr : FirstWithId(colors_, id);
}

LinePrg* Configuration::GetLine(short id, short plane) {
    for (const std::unique_ptr<LinePrg>& line : lines_) {
        if (line->ID == id && line->Plane == plane) {
            return line.get();
        }
    }
    return nullptr;
}

Attuat* Configuration::GetAttuat(short id, short colorId) {
    // Every color of the number: a later duplicate is asked when an earlier
    // one lacks the actuator.
    for (const std::unique_ptr<ColorPrg>& color : colors_) {
        if (color->ID == colorId) {
            if (Attuat* actuator = color->GetAttuat(id)) {
                return actuator;
            }
        }
    }
    return nullptr;
}

Attuat* Configuration::LinePrgGetAttuat(int id) {
    const short id16 = entry::Low16(id);
    for (const std::unique_ptr<LinePrg>& line : lines_) {
        if (Attuat* actuator = line->GetAttuat(id16)) {
            return actuator;
        }
    }
    return nullptr;
}

short Configuration::GetStatoAttuat(short id, short colorId) const {
    const ColorPrg* color = FirstWithId(colors_, colorId);
    return color != nullptr ? color->GetStato(id) : kNoValue;
}

short Configuration::GetCadutaAttuat(short id, short colorId) const {
    const ColorPrg* color = FirstWithId(colors_, colorId);
    return color != nullptr ? color->GetCaduta(id) : kNoValue;
}

short Configuration::GetIdCadutaAttuat(short id, short colorId) const {
    const ColorPrg* color = FirstWithId(colors_, colorId);
    return color != nullptr ? color->GetIdCaduta(id) : kNoValue;
}

// --- Index lists -----------------------------------------------------------

short Configuration::GetListColorDrum(IndexList* list, short plane, short colorId) const {
    return ListOver(colors_, list, Keep::kDistinct, &ColorPrg::GetListDrum, plane, colorId);
}
short Configuration::GetListColorFinger(IndexList* list, short plane, short colorId) const {
    return ListOver(colors_, list, Keep::kDistinct, &ColorPrg::GetListFinger, plane, colorId);
}
short Configuration::GetListColorSplitter(IndexList* list, short plane, short colorId) const {
    return ListOver(colors_, list, Keep::kDistinct, &ColorPrg::GetListSplitter, plane, colorId);
}
short Configuration::GetListColorTriangle(IndexList* list, short plane, short colorId) const {
    return ListOver(colors_, list, Keep::kDistinct, &ColorPrg::GetListTriangle, plane, colorId);
}
short Configuration::GetListColorStepMotor(IndexList* list, short plane, short colorId) const {
    return ListOver(colors_, list, Keep::kDistinct, &ColorPrg::GetListStepMotor, plane, colorId);
}
short Configuration::GetListColorStepMotorDis(IndexList* list, short plane, short colorId) const {
    return ListOver(colors_, list, Keep::kDistinct, &ColorPrg::GetListStepMotorDis, plane, colorId);
}
short Configuration::GetListColorSpeeder(IndexList* list, short plane, short colorId) const {
    return ListOver(colors_, list, Keep::kDistinct, &ColorPrg::GetListSpeeder, plane, colorId);
}

short Configuration::GetListLineDrum(IndexList* list, short plane, short lineId) const {
    return ListOver(lines_, list, Keep::kDistinct, &LinePrg::GetListDrum, plane, lineId);
}
short Configuration::GetListLineFinger(IndexList* list, short plane, short lineId) const {
    return ListOver(lines_, list, Keep::kDistinct, &LinePrg::GetListFinger, plane, lineId);
}
short Configuration::GetListLineSplitter(IndexList* list, short plane, short lineId) const {
    return ListOver(lines_, list, Keep::kDistinct, &LinePrg::GetListSplitter, plane, lineId);
}
short Configuration::GetListLineTriangle(IndexList* list, short plane, short lineId) const {
    return ListOver(lines_, list, Keep::kDistinct, &LinePrg::GetListTriangle, plane, lineId);
}
short Configuration::GetListLineStepMotor(IndexList* list, short plane, short lineId) const {
    return ListOver(lines_, list, Keep::kDistinct, &LinePrg::GetListStepMotor, plane, lineId);
}
short Configuration::GetListLineStepMotorDis(IndexList* list, short plane, short lineId) const {
    return ListOver(lines_, list, Keep::kDistinct, &LinePrg::GetListStepMotorDis, plane, lineId);
}
short Configuration::GetListLineSpeeder(IndexList* list, short plane, short lineId) const {
    return ListOver(lines_, list, Keep::kDistinct, &LinePrg::GetListSpeeder, plane, lineId);
}

short Configuration::GetListColors(IndexList* list, short plane) const {
    return ListOver(colors_, list, Keep::kDistinct, &ColorPrg::GetListColors, plane);
}

short Configuration::GetListLines(IndexList* list, short plane) const {
    return ListOver(lines_, list, Keep::kDistinct, &LinePrg::GetListLines, plane);
}

short Configuration::GetListLineAttuat(IndexList* list, short id, short plane) const {
    return ListOver(lines_, list, Keep::kAll, &LinePrg::GetListLineAttuat, id, plane);
}

// --- Edits -----------------------------------------------------------------

ColorPrg* Configuration::AddColor(short id, short plane) {
    if (id < 0 || plane <= 0) {
        return nullptr;
    }
    try {
        auto color = std::make_unique<ColorPrg>();
        color->ID = id;
        color->Plane = plane;
        colors_.push_back(std::move(color));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return colors_.back().get();
}

int Configuration::RemoveColor(short id) {
    if (id < 0) {
        return 0;
    }
    const auto it =
        std::find_if(colors_.begin(), colors_.end(),
                     [id](const std::unique_ptr<ColorPrg>& color) { return color->ID == id; });
    if (it == colors_.end()) {
        return 0;
    }
    colors_.erase(it);
    return 1;
}

int Configuration::AddLine(int maxLines, int plane) {
    if (plane < 1) {
        return 0;
    }
    const short plane16 = entry::Low16(plane);
    const int n = LinesOfPlane(lines_, plane16);
    if (n >= maxLines) {
        return 0;
    }
    try {
        auto line = std::make_unique<LinePrg>();
        line->ID = LineNumber(n, plane);
        line->Plane = plane16;
        lines_.push_back(std::move(line));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    PlanePrg* owner = GetPlane(plane16);
    if (owner == nullptr) {
        return 0;
    }
    ++owner->NumberOfLines;
    if (plane16 == 1) {
        header_.NumberOfLines = owner->NumberOfLines;
    }
    return 1;
}

int Configuration::RemoveLastLine(int plane) {
    if (plane <= 0 || lines_.empty()) {
        return 0;
    }
    const short plane16 = entry::Low16(plane);
    const int n = LinesOfPlane(lines_, plane16);
    if (n == 0) {
        return 0;
    }
    const short last = LineNumber(n - 1, plane);
    const auto it =
        std::find_if(lines_.begin(), lines_.end(), [&](const std::unique_ptr<LinePrg>& line) {
            return line->Plane == plane16 && line->ID == last;
        });
    // With no line of that number, lowering the counts would make them say
    // the plane has fewer lines than the line list holds.
    if (it == lines_.end()) {
        return 0;
    }
    lines_.erase(it);
    PlanePrg* owner = GetPlane(plane16);
    if (owner == nullptr) {
        return 0;
    }
    --owner->NumberOfLines;
    if (plane16 == 1) {
        header_.NumberOfLines = owner->NumberOfLines;
    }
    return 1;
}

int Configuration::LoadBlock(int plane, int block, int parameter, IndexList values) {
    PlanePrg* owner = GetPlane(entry::Low16(plane));
    if (owner == nullptr) {
        return 0;
    }
    const short block16 = entry::Low16(block);
    if (owner->GetBlock(block16) != nullptr) {
        owner->RemoveBlock(block16);
    }
    owner->AddBlock(block, parameter, &values);
    return 1;
}

// --- Help texts of colors --------------------------------------------------

short Configuration::GetColorForHelp(const char* text) const {
    return ColorForText(colors_, &ColorPrg::Help, text);
}

short Configuration::GetColorForHelpAbstract(const char* text) const {
    return ColorForText(colors_, &ColorPrg::HelpAbstract, text);
}

std::string Configuration::GetColorHelp(short id) const {
    const ColorPrg* color = FirstWithId(colors_, id);
    return color != nullptr ? color->Help : kNoHelp;
}

std::string Configuration::GetColorHelpAbstrct(short id) const {
    const ColorPrg* color = FirstWithId(colors_, id);
    return color != nullptr ? color->HelpAbstract : kNoHelpAbstract;
}

int Configuration::SetColorHelp(short id, const char* text) {
    ColorPrg* color = FirstWithId(colors_, id);
    if (color == nullptr) {
        return 0;
    }
    color->Help = text != nullptr ? text : "";
    return 1;
}

int Configuration::SetColorHelpAbstrct(short id, const char* text) {
    ColorPrg* color = FirstWithId(colors_, id);
    if (color == nullptr) {
        return 0;
    }
    color->HelpAbstract = text != nullptr ? text : "";
    return 1;
}

}  // namespace knitcfg
