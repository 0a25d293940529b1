#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <optional>

namespace vetra {

// What the chosen file name asks LibreOffice for.
struct TOffice_Target {
    QString extension;  // "docx", lower case
    QString filter;     // the --convert-to argument, "docx:MS Word 2007 XML"
    bool presentation = false;
};
// By the extension of `path` (any case); none for an extension we do not write.
std::optional<TOffice_Target> officeTargetFor(const QString& path);

// Converts a flat OpenDocument file with LibreOffice in headless mode, as a
// child process with a profile of its own (so it works while the user's
// LibreOffice is open). The result is written into a temporary folder and
// only a complete file is moved to the chosen name, so a failed, cancelled or
// timed-out conversion leaves nothing under that name. The program is
// $VETRA_SOFFICE when set, else soffice or libreoffice from PATH.
class TOffice_Conversion : public QObject {
    Q_OBJECT
  public:
    enum class TResult { Done, Missing, Failed, Timed_Out, Cancelled };

    explicit TOffice_Conversion(QObject* parent = nullptr);
    ~TOffice_Conversion() override;

    // Writes `source` (the document's XML) beside the converter and starts
    // LibreOffice; `finished` follows. False (with `finished` not emitted)
    // when nothing could be started: `result()` says why.
    bool start(const QByteArray& source, const QString& sourceSuffix, const QString& targetPath,
               const TOffice_Target& target);
    void cancel();
    TResult result() const { return Result_; }

    // start() and wait, running the event loop.
    TResult run(const QByteArray& source, const QString& sourceSuffix, const QString& targetPath,
                const TOffice_Target& target);

    // Seconds before LibreOffice is given up ($VETRA_OFFICE_TIMEOUT, else 300).
    static int timeoutSeconds();

  signals:
    void finished(TResult result);

  private:
    void processFinished();
    void finish(TResult result);

    std::unique_ptr<QTemporaryDir> Work_;
    QProcess Process_;
    QTimer Timeout_;
    QString Source_Path_;
    QString Target_Path_;
    TOffice_Target Target_;
    TResult Result_ = TResult::Failed;
    bool Running_ = false;
};

}  // namespace vetra
