#pragma once
// The real Qt dialogs behind every question of the main window's features.
#include "app/window/window_dialogs.h"

class QWidget;

namespace fw {

// Modal to `parent`.
class QtDialogs : public WindowDialogs {
  public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    void show(const Message& message) override;
    bool confirm(const QString& caption, const QString& question) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initialText) override;
    std::optional<QString> openFileName(const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request) override;
    std::optional<AppSettings> editSettings(const AppSettings& current) override;
    std::optional<ReceiverSettings> editRigSettings(const ReceiverSettings& current) override;
    std::optional<QStringList> chooseBands(const QStringList& bands,
                                           const QStringList& checked) override;
    std::optional<int> chooseItem(const QString& caption, const QString& prompt,
                                  const QStringList& items, int current) override;
    std::optional<LogSpan> chooseLogSpan(const QString& caption, const LogSpan& proposed) override;
    std::optional<CampaignRequest> chooseCampaign(const LogSpan& whole) override;
    std::optional<StationDetails> editStationDetails(const StationDetails& current) override;

  private:
    QWidget* parent_;
};

}  // namespace fw
