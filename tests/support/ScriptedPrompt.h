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
    // The index of the answer the next AskChoice gives (-1: Cancel); the first answer when none is scripted.
    void ChooseNext(int answer) { m_choices.push_back(answer); }

    void Beep(int frequencyHz, int durationMs) override;
    void ShowMessage(const QString& caption, const QString& text, EIcon icon) override;
    bool AskOkCancel(const QString& caption, const QString& text, EIcon icon) override;
    int AskChoice(const QString& caption, const QString& text, const QStringList& answers, EIcon icon) override;

    int beeps = 0;
    std::vector<SMessage> messages;
    QStringList lastAnswers; // the answers the last AskChoice offered

    int QuestionCount() const;
    int MessageCount() const;

private:
    std::deque<bool> m_answers;
    std::deque<int> m_choices;
};
