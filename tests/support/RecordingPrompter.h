// A prompter for tests: records every message box and answers as scripted.
#pragma once

#include "platform/Prompter.h"

#include <QString>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

// Unscripted prompts get IDYES for MB_YESNO, else IDOK.
class RecordingPrompter : public platform::Prompter {
public:
    struct Prompt {
        QWidget* parent;
        QString text;
        QString caption;
        UINT type;
    };

    int messageBox(QWidget* parent, const QString& text, const QString& caption, UINT type) override {
        const Prompt prompt{parent, text, caption, type};
        prompts.push_back(prompt);
        // Taken before the inside action runs, so that a nested prompt gets the next scripted answer.
        int result = (type & kButtonBits) == MB_YESNO ? IDYES : IDOK;
        if (!m_results.empty()) {
            result = m_results.front();
            m_results.pop_front();
        }
        // Through a copy: the action may install another one.
        const auto inside = m_inside;
        if (inside)
            inside(prompt);
        return result;
    }

    // Answers of the next prompts, in order.
    void queueResult(int result) { m_results.push_back(result); }
    // Runs while each prompt is "shown", before it is answered: the place to deliver events that a
    // real modal prompt's nested event loop would handle.
    void setInsidePrompt(std::function<void(const Prompt&)> action) { m_inside = std::move(action); }

    std::vector<Prompt> prompts;

private:
    static constexpr UINT kButtonBits = 0x0F;

    std::deque<int> m_results;
    std::function<void(const Prompt&)> m_inside;
};
