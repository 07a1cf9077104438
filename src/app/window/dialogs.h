#pragma once
// Every modal dialog of the main window goes through this interface, so that window tests
// can answer them.
#include <QString>
#include <QStringList>
#include <optional>

#include "app/settings/app_settings.h"
#include "campaign/campaign_report.h"
#include "libs/message.h"
#include "stationlog/log_queries.h"

class QWidget;

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

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // A message box with a single OK button, titled by the message's kind: "Informationen",
    // "Warnung" or "Fehler".
    virtual void show(const Message& message) = 0;
    // A question with the buttons Yes and No; true for Yes.
    virtual bool confirm(const QString& caption, const QString& question) = 0;

    // A text-input dialog; no value when the user cancels.
    virtual std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                             const QString& initialText) = 0;
    // The common file dialogs; the chosen file's full name, or no value on cancel.
    virtual std::optional<QString> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFileName(const FileDialogRequest& request) = 0;
    // The settings dialog ("Settings…"); the edited settings, or no value on cancel.
    virtual std::optional<AppSettings> editSettings(const AppSettings& current) = 0;
    // "Rig Settings…"; the edited rig settings, or no value on cancel.
    virtual std::optional<RigSettings> editRigSettings(const RigSettings& current) = 0;
    // The bands a sweep visits, chosen from `bands` with `checked` ticked at first; no value
    // on cancel, never an empty list.
    virtual std::optional<QStringList> chooseBands(const QStringList& bands,
                                                   const QStringList& checked) = 0;
    // One item of a list; its index, or no value on cancel.
    virtual std::optional<int> chooseItem(const QString& caption, const QString& prompt,
                                          const QStringList& items, int current) = 0;
    // A UTC span of the station log, proposed as `proposed` (both ends given); the chosen
    // span with from before to, or no value on cancel.
    virtual std::optional<LogSpan> chooseLogSpan(const QString& caption,
                                                 const LogSpan& proposed) = 0;
    // "Campaign Report…": the report's span within `whole`, optionally the spans before and
    // after, and the hours; no value on cancel.
    virtual std::optional<CampaignRequest> chooseCampaign(const LogSpan& whole) = 0;
};

// The real Qt dialogs, modal to `parent`.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    void show(const Message& message) override;
    bool confirm(const QString& caption, const QString& question) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initialText) override;
    std::optional<QString> openFileName(const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request) override;
    std::optional<AppSettings> editSettings(const AppSettings& current) override;
    std::optional<RigSettings> editRigSettings(const RigSettings& current) override;
    std::optional<QStringList> chooseBands(const QStringList& bands,
                                           const QStringList& checked) override;
    std::optional<int> chooseItem(const QString& caption, const QString& prompt,
                                  const QStringList& items, int current) override;
    std::optional<LogSpan> chooseLogSpan(const QString& caption, const LogSpan& proposed) override;
    std::optional<CampaignRequest> chooseCampaign(const LogSpan& whole) override;

  private:
    QWidget* parent_;
};

}  // namespace fw
