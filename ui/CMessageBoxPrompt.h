#pragma once

#include "app/IPrompt.h"

class QWidget;

// Answers the commands' questions with modal message boxes over the window.
class CMessageBoxPrompt final : public IPrompt
{
public:
    explicit CMessageBoxPrompt(QWidget* parent = nullptr);

    void SetParent(QWidget* parent) { m_parent = parent; }

    void Beep(int frequencyHz, int durationMs) override;
    void ShowMessage(const QString& caption, const QString& text, EIcon icon) override;
    bool AskOkCancel(const QString& caption, const QString& text, EIcon icon) override;
    int AskChoice(const QString& caption, const QString& text, const QStringList& answers, EIcon icon) override;

private:
    QWidget* m_parent;
};
