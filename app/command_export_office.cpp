// vetra --export-doc FILE OUT and vetra --export-ppt FILE OUT: the office
// exports of the editor, without a display; the type follows OUT's extension.

#include <QString>
#include <cstdio>
#include <vector>

#include "app/commands.h"
#include "app/terminal_messages.h"
#include "layout/view_paint.h"
#include "store/tree_doc.h"
#include "ui/office_conversion.h"
#include "ui/office_export.h"
#include "ui/qpainter_canvas.h"

namespace vetra {
int runExportOffice(const std::string& input, const std::string& output, bool presentation) {
    const std::string_view failure =
        presentation ? kPresentation_Export_Failed : kWord_Export_Failed;
    const QString target = QString::fromStdString(output);
    const std::optional<TOffice_Target> office = officeTargetFor(target);
    if (!office || office->presentation != presentation) {
        std::fprintf(stderr, "%s\n",
                     terminalMessage(presentation ? "只能輸出 .ppt、.pptx 或 .odp 文件：%s"
                                                  : "只能輸出 .doc、.docx 或 .odt 文件：%s",
                                     output)
                         .c_str());
        return 1;
    }
    TTerminal_Messages messages;
    TTree_Doc document(messages);
    std::vector<TTree_Node*> viewRoots;
    TRead_Error error = TRead_Error::None;
    if (!document.open(input, viewRoots, error)) {
        std::fprintf(stderr, "%s\n", terminalMessage("無法打開文件 %s", input).c_str());
        return 1;
    }
    TTree_Node& root = *document.root();
    root.recomputeDepth();
    QImage picture;
    if (presentation) {
        // The main view as the editor shows it, the root expanded.
        TQPainter_Canvas metrics;
        TView_Picture layout;
        root.Expanded = 1;
        relayoutView(metrics, root, 0, 0, layout);
        picture = slidePicture(root, layout);
    }
    const QByteArray source = officeSource(document, root, presentation, picture);
    TOffice_Conversion conversion;
    if (conversion.run(source, presentation ? "fodp" : "fodt", target, *office) !=
        TOffice_Conversion::TResult::Done) {
        std::fprintf(stderr, "%s\n", terminalMessage(failure, output).c_str());
        return 1;
    }
    return 0;
}

}  // namespace vetra
