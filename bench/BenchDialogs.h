#pragma once

#include <QString>

#include "platform/Dialogs.h"

namespace ludora::bench {

// Answers every file dialog with one path and every question with No, instantly.
class BenchDialogs final : public platform::Replaceable<platform::Dialogs>::Replacement {
public:
    explicit BenchDialogs(QString path) : path_(std::move(path)) {}

    platform::Button showMessage(QWidget*, const platform::MessageRequest& request) override {
        return request.buttons == platform::ButtonSet::Ok ? platform::Button::Ok
                                                          : platform::Button::No;
    }
    QString showSaveDialog(QWidget*, const platform::FileRequest&) override { return path_; }
    QString showOpenDialog(QWidget*, const platform::FileRequest&) override { return path_; }

private:
    QString path_;
};

}  // namespace ludora::bench
