#pragma once

#include <string>

namespace ferrovane {

// The application's own title, used for every message that names no other.
inline constexpr const char* kAppTitle = "Ferrovane";

enum class MessageIcon { None, Information, Exclamation, Critical, Question };

// The icon's name as scripts and tests write it: "none", "information", ...
inline const char* iconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return "information";
    case MessageIcon::Exclamation:
        return "exclamation";
    case MessageIcon::Critical:
        return "critical";
    case MessageIcon::Question:
        return "question";
    case MessageIcon::None:
        break;
    }
    return "none";
}
enum class MessageButtons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct Message {
    std::string text;
    std::string title = kAppTitle;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// What the core calls to show a message or ask a question. The Qt layer
// answers with a message box; tests answer from a script and record.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual Answer show(const Message& message) = 0;

    // An OK-only message with the application's title.
    void say(const std::string& text, MessageIcon icon = MessageIcon::None) {
        show(Message{text, kAppTitle, icon, MessageButtons::Ok});
    }
    // A Yes/No question; true for Yes.
    bool ask(const std::string& text, const std::string& title = kAppTitle,
             MessageIcon icon = MessageIcon::Question) {
        return show(Message{text, title, icon, MessageButtons::YesNo}) == Answer::Yes;
    }
};

} // namespace ferrovane
