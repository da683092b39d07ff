#pragma once

#include <QList>
#include <QString>
#include <deque>

#include "platform/Dialogs.h"

namespace ludora::test {

// Answers the program's message boxes and file dialogs from queues the test fills first,
// and records what was asked. A box or dialog with no answer queued fails the test.
class FakeDialogs final : public platform::Replaceable<platform::Dialogs>::Replacement {
public:
    struct Shown {
        enum Kind { Message, SaveFile, OpenFile } kind;
        platform::MessageRequest message;
        platform::FileRequest file;
    };

    void answerNext(platform::Button button) { answers_.push_back(button); }
    void chooseNextFile(const QString& path) { files_.push_back(path); }
    void cancelNextFile() { files_.push_back(QString()); }

    const QList<Shown>& shown() const { return shown_; }
    QList<Shown> messages() const;
    int count() const { return int(shown_.size()); }
    bool allAnswersUsed() const { return answers_.empty() && files_.empty(); }
    void clear();

    platform::Button showMessage(QWidget* parent, const platform::MessageRequest& request) override;
    QString showSaveDialog(QWidget* parent, const platform::FileRequest& request) override;
    QString showOpenDialog(QWidget* parent, const platform::FileRequest& request) override;

private:
    QString nextFile(Shown::Kind kind, const platform::FileRequest& request);

    std::deque<platform::Button> answers_;
    std::deque<QString> files_;
    QList<Shown> shown_;
};

}  // namespace ludora::test
