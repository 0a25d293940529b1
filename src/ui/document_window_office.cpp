// The document window's office exports and sending a subtree by mail.
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QUrl>

#include "ui/dialog_script.h"
#include "ui/document_window.h"
#include "ui/mail_sender.h"
#include "ui/main_frame.h"
#include "ui/office_conversion.h"
#include "ui/office_export.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

// The save dialog of an export: the classic format first, then the newer
// office formats; the name gets the chosen filter's extension when it has
// none of ours.
QString askOfficeFileName(QWidget* parent, const QString& proposed, bool presentation) {
    if (TDialog_Script* script = TDialog_Script::active())
        return script->takeAnswer().value_or(QString());
    const QStringList filters =
        presentation
            ? QStringList{"PowerPoint(*.ppt)", "PowerPoint 2007 (*.pptx)", "OpenDocument (*.odp)"}
            : QStringList{"WORD DOC(*.doc)", "Word 2007 (*.docx)", "OpenDocument (*.odt)"};
    QString chosenFilter = filters.first();
    QString name = QFileDialog::getSaveFileName(parent, QString(), proposed, filters.join(";;"),
                                                &chosenFilter);
    if (name.isEmpty() || officeTargetFor(name)) return name;
    const qsizetype star = chosenFilter.indexOf("*.");
    return name + chosenFilter.mid(star + 1, chosenFilter.indexOf(')', star) - star - 1);
}

// Shows the result: the written file opened with its program, or the warning.
void reportOfficeResult(QWidget* parent, TOffice_Conversion::TResult result, const QString& path,
                        std::string_view failure) {
    if (result == TOffice_Conversion::TResult::Cancelled) return;
    if (result != TOffice_Conversion::TResult::Done) {
        message_box::warning(parent, failure);
        return;
    }
    if (TDialog_Script::active() == nullptr) QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace

void TForm_Qo_Tree::runOfficeExport(bool presentation) {
    const std::string_view failure =
        presentation ? kPresentation_Export_Failed : kWord_Export_Failed;
    const QString proposed = QFileInfo(QString::fromStdString(Doc_->fileName())).completeBaseName();
    const QString path = askOfficeFileName(this, proposed, presentation);
    if (path.isEmpty()) return;
    const std::optional<TOffice_Target> target = officeTargetFor(path);
    if (!target || target->presentation != presentation) {
        message_box::warning(this, failure);
        return;
    }
    commitCaptionEditor();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QImage picture = presentation ? slidePicture(*Current_.Root, viewPicture()) : QImage();
    Current_.restoreParentLink();
    Doc_->root()->recomputeDepth();
    const QByteArray source = officeSource(*Doc_, *Doc_->root(), presentation, picture);
    Current_.cutParentLink();
    QApplication::restoreOverrideCursor();
    refresh();

    const QString suffix = presentation ? "fodp" : "fodt";
    if (TDialog_Script::active() != nullptr) {
        TOffice_Conversion conversion;
        reportOfficeResult(this, conversion.run(source, suffix, path, *target), path, failure);
        return;
    }
    // The conversion belongs to the frame, so closing this window while
    // LibreOffice runs is harmless.
    QWidget* frame = &Frame_;
    auto* conversion = new TOffice_Conversion(frame);
    auto* progress =
        new QProgressDialog(uiText("正在生成文件，請稍候……"), uiText("取消"), 0, 0, frame);
    progress->setWindowTitle(uiText(presentation ? "輸出到 PowerPoint" : "輸出到 Word 文件"));
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->setMinimumWidth(360);
    connect(progress, &QProgressDialog::canceled, conversion, &TOffice_Conversion::cancel);
    connect(conversion, &TOffice_Conversion::finished, frame,
            [frame, conversion, progress, path, failure](TOffice_Conversion::TResult result) {
                progress->hide();
                progress->deleteLater();
                conversion->deleteLater();
                reportOfficeResult(frame, result, path, failure);
            });
    if (!conversion->start(source, suffix, path, *target)) {
        const TOffice_Conversion::TResult result = conversion->result();
        progress->deleteLater();
        conversion->deleteLater();
        reportOfficeResult(frame, result, path, failure);
        return;
    }
    progress->show();
}

void TForm_Qo_Tree::N_Export_WordClick() {
    runOfficeExport(false);
}

void TForm_Qo_Tree::N_Export_PPTClick() {
    runOfficeExport(true);
}

void TForm_Qo_Tree::N_Export_Node_And_SendClick() {
    TTree_Node* node = selectedNode();
    if (node == nullptr) return;
    Current_.restoreParentLink();
    const std::optional<std::string> written = Doc_->exportSubtree(*node, *this);
    Current_.cutParentLink();
    if (!written) return;
    QWidget* frame = &Frame_;
    sendFileByMail(
        QString::fromStdString(*written), frame,
        [frame] { message_box::warning(frame, "本機未安裝OutLook,或OutLook打開錯誤！"); },
        TDialog_Script::active() != nullptr);
}

}  // namespace vetra
