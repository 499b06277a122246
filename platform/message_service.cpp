#include "platform/message_service.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

namespace pelix::platform {

namespace {
class ModalMessages : public MessageService {
  public:
    void show(const Message& message, QWidget* owner) override {
        QMessageBox box(owner);
        box.setWindowTitle(message.title.isEmpty() ? QStringLiteral("Pelix Player") : message.title);
        box.setText(message.text);
        box.setIcon(toBoxIcon(message.icon));
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    }

  private:
    static QMessageBox::Icon toBoxIcon(MessageIcon icon) {
        switch (icon) {
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
        }
        return QMessageBox::NoIcon;
    }
};

ModalMessages& modalMessages() {
    static ModalMessages service;
    return service;
}

MessageService*& installed() {
    static MessageService* service = nullptr;
    return service;
}
} // namespace

MessageService::~MessageService() = default;

MessageService& MessageService::instance() {
    return installed() ? *installed() : modalMessages();
}

void MessageService::install(MessageService* service) {
    installed() = service;
}

void showMessage(const QString& text, MessageIcon icon, QWidget* owner, const QString& title) {
    MessageService::instance().show(Message{text, icon, title}, owner);
}

MessageLog::MessageLog() : m_previous(installed()) {
    install(this);
}

MessageLog::~MessageLog() {
    install(m_previous);
}

void MessageLog::show(const Message& message, QWidget*) {
    m_messages.push_back(message);
}

QStringList MessageLog::texts() const {
    QStringList out;
    for (const Message& m : m_messages)
        out << m.text;
    return out;
}

} // namespace pelix::platform
