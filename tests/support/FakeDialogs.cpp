#include "support/FakeDialogs.h"

#include <QTest>

namespace ludora::test {

QList<FakeDialogs::Shown> FakeDialogs::messages() const {
    QList<Shown> result;
    for (const Shown& s : shown_) {
        if (s.kind == Shown::Message) {
            result << s;
        }
    }
    return result;
}

void FakeDialogs::clear() {
    answers_.clear();
    files_.clear();
    shown_.clear();
}

platform::Button FakeDialogs::showMessage(QWidget*, const platform::MessageRequest& request) {
    shown_.push_back(Shown{Shown::Message, request, {}});
    if (answers_.empty()) {
        if (request.buttons == platform::ButtonSet::Ok) {
            return platform::Button::Ok;  // nothing to decide in a box with one button
        }
        QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + request.prompt), __FILE__,
                     __LINE__);
        return platform::Button::Cancel;
    }
    const platform::Button answer = answers_.front();
    answers_.pop_front();
    return answer;
}

QString FakeDialogs::nextFile(Shown::Kind kind, const platform::FileRequest& request) {
    shown_.push_back(Shown{kind, {}, request});
    if (files_.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected file dialog: ") + request.title),
                     __FILE__, __LINE__);
        return QString();
    }
    const QString path = files_.front();
    files_.pop_front();
    return path;
}

QString FakeDialogs::showSaveDialog(QWidget*, const platform::FileRequest& request) {
    return nextFile(Shown::SaveFile, request);
}

QString FakeDialogs::showOpenDialog(QWidget*, const platform::FileRequest& request) {
    return nextFile(Shown::OpenFile, request);
}

}  // namespace ludora::test
