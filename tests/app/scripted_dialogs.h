#pragma once
// A WindowDialogs implementation for window tests: records every dialog shown and answers
// input and file dialogs from queues (an empty queue or std::nullopt means "Cancel").
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "app/window/window_dialogs.h"

namespace fw::testing {

struct ShownMessage {
    QString title;
    QString text;
    friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

struct ShownInput {
    QString caption;
    QString prompt;
    QString initialText;
};

class ScriptedDialogs : public WindowDialogs {
  public:
    std::vector<ShownMessage> messages;
    std::vector<QString> questions;
    std::deque<bool> confirmAnswers;  // none left means No
    std::vector<ShownInput> inputs;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::vector<AppSettings> settingsShown;
    std::deque<std::optional<AppSettings>> settingsAnswers;
    std::vector<ReceiverSettings> rigSettingsShown;
    std::deque<std::optional<ReceiverSettings>> rigSettingsAnswers;
    std::vector<QStringList> bandChoicesShown;  // the bands ticked at first
    std::deque<std::optional<QStringList>> bandAnswers;
    std::deque<std::optional<int>> itemAnswers;
    std::vector<QStringList> itemsShown;
    std::vector<int> itemsProposed;  // the index each choice started on
    std::deque<std::optional<LogSpan>> spanAnswers;
    std::vector<LogSpan> spansProposed;
    std::deque<std::optional<CampaignRequest>> campaignAnswers;
    std::vector<StationDetails> stationDetailsShown;
    std::deque<std::optional<StationDetails>> stationDetailsAnswers;
    // Runs while a message box would be open, e.g. to look at the window at that moment.
    std::function<void(const ShownMessage&)> whileMessageOpen;
    // Runs while the campaign's dialog would be open, before the report is built.
    std::function<void()> whileCampaignChosen;

    void show(const Message& message) override {
        messages.push_back({MessageTitle(message.kind), QString::fromStdString(message.text)});
        if (whileMessageOpen) whileMessageOpen(messages.back());
    }

    bool confirm(const QString&, const QString& question) override {
        questions.push_back(question);
        if (confirmAnswers.empty()) return false;
        const bool yes = confirmAnswers.front();
        confirmAnswers.pop_front();
        return yes;
    }

    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initialText) override {
        inputs.push_back({caption, prompt, initialText});
        return next(inputAnswers);
    }
    std::optional<QString> openFileName(const FileDialogRequest& request) override {
        openRequests.push_back(request);
        return next(openAnswers);
    }
    std::optional<QString> saveFileName(const FileDialogRequest& request) override {
        saveRequests.push_back(request);
        return next(saveAnswers);
    }

    std::optional<AppSettings> editSettings(const AppSettings& current) override {
        settingsShown.push_back(current);
        std::optional<AppSettings> answer;
        if (!settingsAnswers.empty()) {
            answer.swap(settingsAnswers.front());
            settingsAnswers.pop_front();
        }
        return answer;
    }

    std::optional<ReceiverSettings> editRigSettings(const ReceiverSettings& current) override {
        rigSettingsShown.push_back(current);
        return next(rigSettingsAnswers);
    }
    std::optional<QStringList> chooseBands(const QStringList&,
                                           const QStringList& checked) override {
        bandChoicesShown.push_back(checked);
        return next(bandAnswers);
    }
    std::optional<int> chooseItem(const QString&, const QString&, const QStringList& items,
                                  int current) override {
        itemsShown.push_back(items);
        itemsProposed.push_back(current);
        return next(itemAnswers);
    }
    std::optional<LogSpan> chooseLogSpan(const QString&, const LogSpan& proposed) override {
        spansProposed.push_back(proposed);
        return next(spanAnswers);
    }
    std::optional<CampaignRequest> chooseCampaign(const LogSpan& whole) override {
        spansProposed.push_back(whole);
        if (whileCampaignChosen) whileCampaignChosen();
        return next(campaignAnswers);
    }
    std::optional<StationDetails> editStationDetails(const StationDetails& current) override {
        stationDetailsShown.push_back(current);
        return next(stationDetailsAnswers);
    }

  private:
    template <typename T>
    static std::optional<T> next(std::deque<std::optional<T>>& answers) {
        std::optional<T> answer;
        if (!answers.empty()) {
            answer.swap(answers.front());
            answers.pop_front();
        }
        return answer;
    }
    static std::optional<QString> next(std::deque<std::optional<QString>>& answers) {
        std::optional<QString> answer;
        if (!answers.empty()) {
            answer.swap(answers.front());
            answers.pop_front();
        }
        return answer;
    }
};

}  // namespace fw::testing
