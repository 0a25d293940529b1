#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace vetra {

class TColor_Palette;
class TOptions;

// The main frame: menus, tool bar, palette strip and the document windows in
// an MDI area. Document commands go to the active document window's handler
// of the same name (a slot such as N_CreateClick), so the frame knows the
// document windows only through their object name, "Form_Qo_Tree...", and
// their slots.
class TForm_Main_Vetra : public QMainWindow {
    Q_OBJECT
  public:
    // Makes a document window: for `path`, or an empty document when `path`
    // is empty. Returns null when the file cannot be opened (the window has
    // told the user). The frame takes the widget into its MDI area.
    using TDocument_Window_Factory = std::function<QWidget*(TForm_Main_Vetra&, const QString&)>;

    TForm_Main_Vetra(TOptions& options, TDocument_Window_Factory factory);
    ~TForm_Main_Vetra() override;

    QMdiArea* mdiArea() const { return Mdi_Area_; }
    TOptions& options() const { return Options_; }
    TColor_Palette* palette() const { return Palette_; }
    int32_t defaultColor() const;

    // The active MDI child when it is a document window.
    QWidget* activeDocumentWindow() const;
    // The first document window showing `fileName` (compared exactly).
    QWidget* findDocumentWindow(const QString& fileName) const;
    QList<QWidget*> documentWindows() const;
    // Brings the window showing the file to the front, or opens it.
    void openDocument(const QString& fileName);
    void newDocument();
    // Takes a window made elsewhere (a subtree exported to a new document).
    void showDocumentWindow(QWidget* window) { addDocumentWindow(window); }
    // Called by a document window after it saved or closed.
    void rebuildRecentFiles();

    // Calls `handler` (for example "N_CreateClick") on the active document window.
    void forwardToActiveWindow(const char* handler);

  public slots:
    void N_File_NewClick();
    void N_OpenClick();
    void N_SaveClick();
    void N_Save_AllClick();
    void N_Save_AsClick();
    void N_ExitClick();
    void N_CloseClick();
    void N_Close_AllClick();
    void N_Show_ColorClick();
    void N_Option_SetClick();

  signals:
    void documentWindowsChanged();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void buildFileMenu();
    void buildEditMenu();
    void buildToolMenu();
    void buildWindowMenu();
    void buildToolBar();
    QAction* addItem(QMenu* menu, const char* name, std::string_view caption,
                     const QString& shortcut = {});
    QAction* addForwardedItem(QMenu* menu, const char* name, std::string_view caption,
                              const char* handler, const QString& shortcut = {});
    void addDocumentWindow(QWidget* window);
    bool runCloseQueries(bool lastFirst);
    void fillWindowMenu();

    void copyPaletteToOptions();
    void saveWindowState();

    TOptions& Options_;
    TDocument_Window_Factory Factory_;
    QMdiArea* Mdi_Area_ = nullptr;
    TColor_Palette* Palette_ = nullptr;
    QToolBar* Tool_Bar_ = nullptr;
    QMenu* Window_Menu_ = nullptr;
    bool Exiting_ = false;
};

}  // namespace vetra
