#pragma once

#include <QString>
#include <functional>

class QObject;

namespace vetra {

// Opens the desktop's mail composer on a new message with `path` attached
// and its file name as the subject (`xdg-email --attach PATH --subject NAME`;
// $VETRA_XDG_EMAIL names another program). `failed` is called when the
// program is missing, does not start or reports failure. The mail client may
// stay open for long, so the program runs on, owned by `owner`, unless
// `wait` asks to wait for it (scripts).
void sendFileByMail(const QString& path, QObject* owner, std::function<void()> failed,
                    bool wait = false);

}  // namespace vetra
