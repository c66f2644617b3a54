#pragma once

#include "app/IPrompt.h"

#include <QStringList>

#include <deque>

// A prompt that records what it was asked and answers from a script (OK when the script is empty).
class CScriptedPrompt final : public IPrompt
{
public:
    struct SMessage
    {
        QString caption;
        QString text;
        EIcon icon;
        bool question;
    };

    void AnswerNext(bool ok) { m_answers.push_back(ok); }

    void Beep(int frequencyHz, int durationMs) override;
    void ShowMessage(const QString& caption, const QString& text, EIcon icon) override;
    bool AskOkCancel(const QString& caption, const QString& text, EIcon icon) override;

    int beeps = 0;
    std::vector<SMessage> messages;

    int QuestionCount() const;
    int MessageCount() const;

private:
    std::deque<bool> m_answers;
};
