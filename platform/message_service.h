// Every message box of the system goes through one service object. The
// default shows a modal box; tests install a MessageLog so that nothing
// blocks and every text and icon can be checked.
#pragma once

#include "platform/export.h"

#include <QString>

#include <vector>

class QWidget;

namespace pelix::platform {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };

struct Message {
    QString text;
    MessageIcon icon = MessageIcon::Exclamation;
    QString title;
};

class PELIX_PLATFORM_API MessageService {
  public:
    virtual ~MessageService();
    // One box with an OK button; returns when the user has answered it.
    virtual void show(const Message& message, QWidget* owner) = 0;

    // The service in use; the modal one unless a test installed another.
    static MessageService& instance();
    // Installs `service` (not owned); nullptr restores the modal one.
    static void install(MessageService* service);
};

// The instrument program's way of telling the user: exclamation icon, OK button.
PELIX_PLATFORM_API void showMessage(const QString& text, MessageIcon icon = MessageIcon::Exclamation,
                                    QWidget* owner = nullptr, const QString& title = QString());

// Collects the messages instead of showing them; installs itself while it lives.
class PELIX_PLATFORM_API MessageLog : public MessageService {
  public:
    MessageLog();
    ~MessageLog() override;
    void show(const Message& message, QWidget* owner) override;

    const std::vector<Message>& messages() const { return m_messages; }
    QStringList texts() const;
    void clear() { m_messages.clear(); }

  private:
    std::vector<Message> m_messages;
    MessageService* m_previous;
};

} // namespace pelix::platform
