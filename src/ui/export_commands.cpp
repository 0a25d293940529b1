#include "ui/export_commands.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <ctime>

#include "export/html_page.h"
#include "export/html_text.h"
#include "ui/dialog_script.h"
#include "ui/document_window.h"
#include "ui/image_view.h"
#include "ui/link_opener.h"
#include "ui/message_box.h"
#include "ui/picture_export.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

struct TSave_Dialog {
    QString filters;
    QString suffix;
    QString nameEnding;
};

TSave_Dialog dialogFor(TExport_Command command) {
    if (command == TExport_Command::Picture)
        return {"BMP(*.bmp);;JPEG(*.jpg);;" + uiText("向量圖形") +
                    "(*.emf);;PNG(*.png);;SVG(*.svg);;PDF(*.pdf)",
                "jpg", QString()};
    return {"HTML(*.html);;HTML(*.htm)", "html", command == TExport_Command::Map ? "_map" : ""};
}

QString askExportName(QWidget* parent, TForm_Qo_Tree& window, TExport_Command command) {
    const TSave_Dialog dialog = dialogFor(command);
    // The document's name, in the document's folder.
    const QFileInfo documentFile(QString::fromLocal8Bit(window.document().fileName().c_str()));
    QString proposed = documentFile.completeBaseName();
    const QString folder = proposed.isEmpty() ? QString() : documentFile.absolutePath();
    if (proposed.isEmpty()) proposed = nodeTextToQString(window.document().root()->Caption.view());
    proposed += dialog.nameEnding;
    if (TDialog_Script* script = TDialog_Script::active())
        return script->takeAnswer().value_or(QString());
    QFileDialog chooser(parent, QString(), folder, dialog.filters);
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setDefaultSuffix(dialog.suffix);
    if (command == TExport_Command::Picture) chooser.selectNameFilter("JPEG(*.jpg)");
    chooser.selectFile(proposed + "." + dialog.suffix);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return {};
    return chooser.selectedFiles().front();
}

// While the HTML exports walk the whole document, the current view's root
// hangs from its parent again.
class TView_Root_Attached {
  public:
    explicit TView_Root_Attached(TNode_View* view)
        : Root_(view != nullptr ? view->Root : nullptr),
          Detached_(Root_ != nullptr ? Root_->Parent : nullptr) {
        if (Root_ != nullptr && view->Saved_Parent != nullptr) Root_->Parent = view->Saved_Parent;
    }
    ~TView_Root_Attached() {
        if (Root_ != nullptr) Root_->Parent = Detached_;
    }
    TView_Root_Attached(const TView_Root_Attached&) = delete;
    TView_Root_Attached& operator=(const TView_Root_Attached&) = delete;

  private:
    TTree_Node* Root_;
    TTree_Node* Detached_;
};

}  // namespace

void runExportCommand(QWidget* frame, QWidget* documentWindow, TExport_Command command) {
    auto* window = qobject_cast<TForm_Qo_Tree*>(documentWindow);
    if (window == nullptr || window->currentView() == nullptr) return;
    const QString chosen = askExportName(frame, *window, command);
    if (chosen.isEmpty()) return;
    const std::string path = chosen.toLocal8Bit().toStdString();
    TTree_Doc& document = window->document();
    TNote_Reader notes(document.file(),
                       document.Store != nullptr ? document.Store : contentStore());
    TTree_Node& viewRoot = *window->currentView()->Root;
    const TPaint_Options options{window->imageView()->background()};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TPicture_Error error = TPicture_Error::None;
    QString opened = chosen;
    switch (command) {
        case TExport_Command::Html:
        case TExport_Command::Site: {
            TView_Root_Attached attached(window->currentView());
            const bool written =
                command == TExport_Command::Html
                    ? writeHtmlPage(*document.root(), notes, path)
                    : writeHtmlSite(*document.root(), notes, path, std::time(nullptr));
            if (!written) error = TPicture_Error::Cannot_Create;
            break;
        }
        case TExport_Command::Picture:
            error = exportPicture(viewRoot, path, pictureTypeOf(path), options);
            break;
        case TExport_Command::Map:
            error = exportMapPage(viewRoot, notes, path, options);
            break;
    }
    QApplication::restoreOverrideCursor();
    window->refreshView();
    if (error != TPicture_Error::None) {
        message_box::warning(frame, pictureErrorText(error), {chosen});
        return;
    }
    // A scripted run opens nothing on the desktop.
    if (TDialog_Script::active() == nullptr) openWithDesktop(opened);
}

}  // namespace vetra
