#include "ui/tool_script_commands.h"

#include <QToolButton>
#include <optional>

#include "ui/color_palette.h"
#include "ui/form_map.h"
#include "ui/form_node_style.h"
#include "ui/script_runner.h"
#include "ui/search_commands.h"
#include "ui/style_choosers.h"
#include "ui/tool_windows.h"

namespace vetra {
namespace {

std::optional<int32_t> parseInteger(const QString& text) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 0);
    if (!ok || value < INT32_MIN || value > UINT32_MAX) return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::optional<int32_t> parseColor(const QString& text) {
    if (text.trimmed().compare("A", Qt::CaseInsensitive) == 0) return kColor_Auto;
    return parseInteger(text);
}

bool fail(QString* error, const QString& text) {
    if (error != nullptr) *error = text;
    return false;
}

}  // namespace

bool applyStyleRow(TForm_Node_Style& panel, TTool_Window_Target* target, const QString& row,
                   const QString& value, QString* error) {
    const QString name = row.trimmed().toLower();
    const struct {
        const char* row;
        QToolButton* opener;
        TOption_Chooser* chooser;
    } options[] = {
        {"view", panel.SpeedButton_View_Style, panel.View_Style_Chooser},
        {"link", panel.SpeedButton_Link_Style, panel.Link_Style_Chooser},
        {"edge", panel.SpeedButton_Edge_Style, panel.Edge_Style_Chooser},
        {"edgewidth", panel.SpeedButton_Edge_Width, panel.Width_Chooser},
        {"linkdownwidth", panel.SpeedButton_Link_Down_Width, panel.Width_Chooser},
        {"linkupwidth", panel.SpeedButton_Link_Up_Width, panel.Width_Chooser},
    };
    const struct {
        const char* row;
        TColor_Swatch* opener;
    } colors[] = {
        {"fill", panel.Label_Color_Fill},
        {"edgecolor", panel.Label_Color_Edge},
        {"textcolor", panel.Label_Color_Caption},
        {"linkupcolor", panel.Label_Color_Link_Up},
        {"linkdowncolor", panel.Label_Color_Link_Down},
    };

    if (name == "fontname") {
        if (value.trimmed().isEmpty()) return fail(error, "style fontname needs a face name");
        panel.activateFor(target);
        panel.chooseFontName(value.trimmed());
        return true;
    }
    if (name == "font") {
        const std::optional<int32_t> flag = parseInteger(value);
        QToolButton* button = !flag        ? nullptr
                              : *flag == 0 ? panel.SpeedButton_Font_Auto
                              : *flag == 1 ? panel.SpeedButton_Font_Bold
                              : *flag == 2 ? panel.SpeedButton_Font_Italic
                              : *flag == 4 ? panel.SpeedButton_Font_Underline
                                           : nullptr;
        if (button == nullptr) return fail(error, "style font takes 0, 1, 2 or 4");
        panel.activateFor(target);
        button->click();
        return true;
    }
    for (const auto& option : options) {
        if (name != option.row) continue;
        const std::optional<int32_t> code = parseInteger(value);
        QToolButton* entry = code ? option.chooser->buttonFor(*code) : nullptr;
        if (entry == nullptr) return fail(error, "no such choice: style " + row + " " + value);
        panel.activateFor(target);
        option.opener->click();
        entry->click();
        return true;
    }
    for (const auto& color : colors) {
        if (name != color.row) continue;
        const std::optional<int32_t> bgr = parseColor(value);
        if (!bgr) return fail(error, "not a colour: " + value);
        panel.activateFor(target);
        emit color.opener->clicked();
        const int index = *bgr == kColor_Auto ? 0 : panel.Color_Chooser->indexOf(*bgr);
        if (index >= 0)
            emit panel.Color_Chooser->swatch(index)->clicked();
        else
            panel.chooseColor(*bgr);
        return true;
    }
    return fail(error, "unknown style row: " + row);
}

bool mapFollowAt(TForm_Map& map, double fx, double fy) {
    if (!map.followMode()) emit map.Image_Map->clicked();
    return map.followScroll(fx, fy);
}

void addToolScriptCommands(TScript_Runner& runner, TForm_Main_Vetra& frame) {
    runner.addCommand("search", [&frame](const QStringList& arguments, QString* error) {
        TTool_Window_Target* target = activeToolTarget(frame);
        if (target == nullptr) {
            *error = "no document window";
            return false;
        }
        runSearchCommand(*target, arguments.join(' '));
        return true;
    });
    runner.addCommand("style", [&frame](const QStringList& arguments, QString* error) {
        if (arguments.size() < 2) {
            *error = "style needs a row and a value";
            return false;
        }
        TForm_Node_Style* panel = TForm_Node_Style::instance();
        if (panel == nullptr) {
            *error = "no style panel";
            return false;
        }
        return applyStyleRow(*panel, activeToolTarget(frame), arguments[0],
                             arguments.mid(1).join(' '), error);
    });
    runner.addCommand("map", [](const QStringList& arguments, QString* error) {
        bool okX = false, okY = false;
        double fx = arguments.value(0).toDouble(&okX);
        double fy = arguments.value(1).toDouble(&okY);
        TForm_Map* map = TForm_Map::instance();
        if (arguments.size() != 2 || !okX || !okY || map == nullptr) {
            *error = "map needs two fractions";
            return false;
        }
        if (!mapFollowAt(*map, fx, fy)) {
            *error = "no document window";
            return false;
        }
        return true;
    });
}

}  // namespace vetra
