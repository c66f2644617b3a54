#pragma once

#include <QString>
#include <QStringList>

// The questions, messages and beeps that commands give the user. The window answers them with
// real message boxes; tests answer them with a scripted prompt.
class IPrompt
{
public:
    enum class EIcon
    {
        None,
        Information,
        Warning,
        Error,
    };

    virtual ~IPrompt() = default;

    virtual void Beep(int frequencyHz, int durationMs) = 0;
    // A message box with an OK button.
    virtual void ShowMessage(const QString& caption, const QString& text, EIcon icon) = 0;
    // A question with OK and Cancel, Cancel being the default; true when the user chose OK.
    virtual bool AskOkCancel(const QString& caption, const QString& text, EIcon icon) = 0;
    // A question with a button for each answer, the first being the default, and Cancel; the index of the chosen
    // answer, -1 for Cancel. A prompt without such buttons asks OK/Cancel about the first answer.
    virtual int AskChoice(const QString& caption, const QString& text, const QStringList& answers, EIcon icon)
    {
        Q_UNUSED(answers);
        return AskOkCancel(caption, text, icon) ? 0 : -1;
    }
};

// The caption of the program's message boxes.
inline QString ApplicationCaption()
{
    return QStringLiteral("Talvex");
}
