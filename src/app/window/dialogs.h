#pragma once
// The questions every feature may ask through a modal dialog: a message box and the file
// dialogs. Each feature's own questions are an interface in its folder; QtDialogs answers
// all of them, and window tests answer them from a script.
#include <QString>
#include <QStringList>
#include <optional>

#include "libs/message.h"

namespace fw {

inline const QString InformationTitle = QStringLiteral("Informationen");
inline const QString WarningTitle = QStringLiteral("Warnung");
inline const QString ErrorTitle = QStringLiteral("Fehler");

// The title of a message box for a message of `kind`.
QString MessageTitle(MessageKind kind);

// What an open or save dialog shows and proposes.
struct FileDialogRequest {
    QString title;
    QStringList filters;     // e.g. "TextDateien (*.txt)"
    int selectedFilter = 0;  // index into filters
    QString defaultSuffix;   // appended when the chosen name has none, e.g. "txt"
    QString initialDir;
    QString proposedName;  // file name without folder
    bool confirmOverwrite = false;
};

class MessageDialogs {
  public:
    virtual ~MessageDialogs() = default;

    // A message box with a single OK button, titled by the message's kind: "Informationen",
    // "Warnung" or "Fehler".
    virtual void show(const Message& message) = 0;
    // A question with the buttons Yes and No; true for Yes.
    virtual bool confirm(const QString& caption, const QString& question) = 0;
};

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;

    // The common file dialogs; the chosen file's full name, or no value on cancel.
    virtual std::optional<QString> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFileName(const FileDialogRequest& request) = 0;
};

}  // namespace fw
