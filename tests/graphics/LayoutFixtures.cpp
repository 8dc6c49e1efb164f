#include "LayoutFixtures.h"

#include <algorithm>
#include <map>

#include "platform/Format.h"

namespace corvane::testing {
namespace {

std::string Hex(ColorRef c) {
    return StrFormat("%06X", c);
}

}  // namespace

std::string RectText(const GraphicRect& r) {
    return StrFormat("(%d,%d,%d,%d)", r.left, r.top, r.right, r.bottom);
}

std::string DescribeLayout(const CGraphicLayout& layout) {
    std::map<const CGraphicObj*, std::string> names;
    const std::pair<const CGraphicObjList*, char> lists[] = {{&layout.Intercoms(), 'I'},
                                                             {&layout.TrunkSets(), 'T'},
                                                             {&layout.IntercomCaptions(), 'C'},
                                                             {&layout.TrunkSetCaptions(), 'K'}};
    for (const auto& [list, letter] : lists) {
        int i = 0;
        for (const CGraphicObj* obj : *list) {
            names[obj] = StrFormat("%c%d", letter, i++);
        }
    }
    const auto name = [&](const CGraphicObj* obj) -> std::string {
        if (obj == nullptr) {
            return "-";
        }
        const auto it = names.find(obj);
        return it == names.end() ? "?" : it->second;
    };
    std::string out;
    for (const auto& [list, letter] : lists) {
        for (const CGraphicObj* obj : *list) {
            out += name(obj) + StrFormat(" vis=%d sel=%d ", obj->VisibleFlag(), obj->IsSelected()) +
                   RectText(obj->GetRect());
            if (const auto* i = GraphicCast<CIcomObj>(obj)) {
                out += StrFormat(" id=%d remote=%d online=%d caption=%s sets=[", i->GetId(),
                                 i->HasBaud9600Mark(), i->IsOnline(), name(i->Caption()).c_str());
                for (const CGraphicObj* t : i->TrunkSets()) {
                    out += name(t) + " ";
                }
                out += "]";
            } else if (const auto* t = GraphicCast<CTrunkSetObj>(obj)) {
                const TrunkSetCounts& c = t->Counts();
                const TrunkSetLine& l = t->Line();
                out += StrFormat(
                    " key=%d counts=%d/%d/%d/%d/%d caption=%s ends=%s,%s line=%lld,%lld,%lld,"
                    "%lld,%lld,%lld",
                    t->GetId(), c.total, c.allocated, c.inUse, c.maint, c.oos,
                    name(t->Caption()).c_str(), name(t->FirstEnd()).c_str(),
                    name(t->SecondEnd()).c_str(), static_cast<long long>(l.a),
                    static_cast<long long>(l.b), static_cast<long long>(l.c),
                    static_cast<long long>(l.dy2), static_cast<long long>(l.dx2),
                    static_cast<long long>(l.length2));
            } else if (const auto* c = GraphicCast<CIcomCaption>(obj)) {
                out += " text='" + c->GetText() + "' owner=" + name(c->GetOwner());
            } else if (const auto* k = GraphicCast<CTrunkSetCaption>(obj)) {
                out += " text='" + k->GetText() + "' owner=" + name(k->GetOwner());
            }
            out += "\n";
        }
    }
    return out;
}

void RecordingPainter::Ellipse(const GraphicRect& r, ColorRef outline, ColorRef fill) {
    calls.push_back("ellipse " + RectText(r) + " " + Hex(outline) + " " + Hex(fill));
}

void RecordingPainter::Line(GraphicPoint from, GraphicPoint to, int width, ColorRef color,
                            LineStyle style) {
    calls.push_back(StrFormat("line (%d,%d)-(%d,%d) w%d %s%s", from.x, from.y, to.x, to.y, width,
                              Hex(color).c_str(), style == LineStyle::Dotted ? " dotted" : ""));
}

GraphicSize RecordingPainter::TextExtent(const std::string& text) {
    return {static_cast<int32_t>(text.size()) * kCharWidth, kCharHeight};
}

void RecordingPainter::Text(const GraphicRect& r, const std::string& text, ColorRef textColor,
                            ColorRef background) {
    calls.push_back("text " + RectText(r) + " '" + text + "' " + Hex(textColor) + " on " +
                    Hex(background));
}

void RecordingPainter::Frame(const GraphicRect& r, ColorRef color) {
    calls.push_back("frame " + RectText(r) + " " + Hex(color));
}

LayoutModelSource::Lookup FakeModel::FindIntercom(int number, IntercomRow& row,
                                                  std::string& error) {
    if (number == failingIntercom) {
        error = "disk I/O error";
        return Lookup::Failed;
    }
    const auto it = intercoms.find(number);
    if (it == intercoms.end()) {
        return Lookup::NotFound;
    }
    row = it->second;
    return Lookup::Found;
}

LayoutModelSource::Lookup FakeModel::FindTrunkSummary(int from, int to, TrunkSetCounts& counts,
                                                      std::string& error) {
    asked.emplace_back(from, to);
    if (from == failingIntercom || to == failingIntercom) {
        error = "database is locked";
        return Lookup::Failed;
    }
    const auto it = summary.find({from, to});
    if (it == summary.end()) {
        return Lookup::NotFound;
    }
    counts = it->second;
    return Lookup::Found;
}

LayoutModelSource::Lookup FakeModel::ListIntercoms(std::vector<IntercomEntry>& list,
                                                   std::string& error) {
    std::vector<IntercomEntry> byName;
    for (const auto& [number, row] : intercoms) {
        byName.push_back({number, row.name});
    }
    std::stable_sort(
        byName.begin(), byName.end(),
        [](const IntercomEntry& x, const IntercomEntry& y) { return x.name < y.name; });
    list.clear();
    for (const IntercomEntry& entry : byName) {
        if (entry.number == failingIntercom) {
            error = "disk I/O error";
            return Lookup::Failed;
        }
        list.push_back(entry);
    }
    return list.empty() ? Lookup::NotFound : Lookup::Found;
}

}  // namespace corvane::testing
