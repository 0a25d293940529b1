#pragma once

#include <QLabel>
#include <QWidget>
#include <cstdint>

#include "layout/style_commands.h"
#include "ui/tool_window_target.h"

class QListWidget;
class QToolButton;

namespace vetra {

class TColor_Chooser;
class TColor_Swatch;
class TOption_Chooser;
class TOptions;

// "節點風格": the style panel, a small tool window kept above the main window.
// It shows the style of the first selected node of a document window and
// applies each choice to every selected node of that window's current view,
// each node with its undo entry. There is one per run (`instance()`).
class TForm_Node_Style : public QWidget {
    Q_OBJECT
  public:
    // Which colour the colour chooser sets.
    enum class TColor_Target { Fill = 1, Edge = 2, Link_Up = 3, Link_Down = 4, Caption = 5 };
    // Which width the width chooser sets.
    enum class TWidth_Target { Link_Down = 1, Link_Up = 2, Edge = 3 };

    // Placed from the options (attr_win_x, attr_win_y); `activeTarget` gives
    // the active document window at each activation. The caller shows it
    // when the options say so.
    TForm_Node_Style(TOptions& options, TTarget_Provider activeTarget, QWidget* parent);
    ~TForm_Node_Style() override;

    // The panel of this run, or null before it is made.
    static TForm_Node_Style* instance();
    // Where the active document window comes from; empty: there is none.
    void setTargetProvider(TTarget_Provider activeTarget) {
        Active_Target_ = std::move(activeTarget);
    }

    // Fills the controls from the node (nothing for null); the document window
    // calls it with its first selected node after each mouse release and key
    // in the view.
    void showNode(const TTree_Node* node);
    // What activation does: `target` becomes the window the choices act on and
    // its first selected node is shown.
    void activateFor(TTool_Window_Target* target);
    TTool_Window_Target* target() const { return Target_; }

    // The choices, as the chooser entries make them. Without a target window
    // nothing changes.
    void chooseViewStyle(int32_t code);
    void chooseLinkStyle(int32_t code);
    void chooseEdgeStyle(int32_t code);
    void chooseWidth(int32_t width);    // for the width target
    void chooseColor(int32_t color);    // for the colour target
    void chooseFontFlag(int32_t flag);  // 0 Auto, 1 bold, 2 italic, 4 underline
    void chooseFontName(const QString& face);

    // Hides every chooser and the font list.
    void hideChoosers();
    TColor_Target colorTarget() const { return Color_Target_; }
    TWidth_Target widthTarget() const { return Width_Target_; }

    // N_Node_Attr: shows or hides the panel and keeps the visibility in the
    // options, saved at once.
    void toggle();
    // Copies the panel's place and visibility into the options (not saved).
    void storePlace();

    QToolButton* SpeedButton_View_Style = nullptr;
    QToolButton* SpeedButton_Link_Style = nullptr;
    QToolButton* SpeedButton_Link_Down_Width = nullptr;
    QToolButton* SpeedButton_Edge_Style = nullptr;
    QToolButton* SpeedButton_Edge_Width = nullptr;
    QToolButton* SpeedButton_Link_Up_Width = nullptr;
    QToolButton* SpeedButton_Font_Auto = nullptr;
    QToolButton* SpeedButton_Font_Bold = nullptr;
    QToolButton* SpeedButton_Font_Italic = nullptr;
    QToolButton* SpeedButton_Font_Underline = nullptr;
    TColor_Swatch* Label_Color_Fill = nullptr;
    TColor_Swatch* Label_Color_Link_Down = nullptr;
    TColor_Swatch* Label_Color_Edge = nullptr;
    TColor_Swatch* Label_Color_Caption = nullptr;
    TColor_Swatch* Label_Color_Link_Up = nullptr;
    QLabel* Label_Font = nullptr;
    QListWidget* ListBox_Font = nullptr;
    TOption_Chooser* View_Style_Chooser = nullptr;
    TOption_Chooser* Link_Style_Chooser = nullptr;
    TOption_Chooser* Edge_Style_Chooser = nullptr;
    TOption_Chooser* Width_Chooser = nullptr;
    TColor_Chooser* Color_Chooser = nullptr;

  protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildRows();
    void buildChoosers();
    void fillFontList();
    QToolButton* addStyleButton(const char* name, QRect place);
    TColor_Swatch* addColorSwatch(const char* name, QPoint at, TColor_Target target,
                                  QPoint chooserAt);
    QToolButton* addFontButton(const char* name, const QString& text, int32_t flag, int x);
    void openChooser(QWidget* chooser, QPoint at);
    void apply(TStyle_Command command, int32_t value, std::string_view fontName = {});
    void showSwatch(TColor_Swatch* swatch, int32_t color);

    TOptions& Options_;
    TTarget_Provider Active_Target_;
    TTool_Window_Target* Target_ = nullptr;
    TColor_Target Color_Target_ = TColor_Target::Fill;
    TWidth_Target Width_Target_ = TWidth_Target::Link_Down;
    int Target_Listener_ = 0;
};

// The document window's "show node" call: does nothing while there is no panel.
void showNodeInStylePanel(const TTree_Node* node);

}  // namespace vetra
