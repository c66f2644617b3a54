#include "support/ScriptedPrompt.h"

void CScriptedPrompt::Beep(int, int)
{
    ++beeps;
}

void CScriptedPrompt::ShowMessage(const QString& caption, const QString& text, EIcon icon)
{
    messages.push_back({caption, text, icon, false});
}

bool CScriptedPrompt::AskOkCancel(const QString& caption, const QString& text, EIcon icon)
{
    messages.push_back({caption, text, icon, true});
    if (m_answers.empty())
        return true;
    const bool answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

int CScriptedPrompt::AskChoice(const QString& caption, const QString& text, const QStringList& answers, EIcon icon)
{
    messages.push_back({caption, text, icon, true});
    lastAnswers = answers;
    if (m_choices.empty())
        return 0;
    const int answer = m_choices.front();
    m_choices.pop_front();
    return answer;
}

int CScriptedPrompt::QuestionCount() const
{
    int count = 0;
    for (const SMessage& message : messages)
        count += message.question ? 1 : 0;
    return count;
}

int CScriptedPrompt::MessageCount() const
{
    return int(messages.size()) - QuestionCount();
}
