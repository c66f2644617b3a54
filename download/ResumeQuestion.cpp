#include "download/ResumeQuestion.h"

#include "app/IPrompt.h"
#include "app/StringTable.h"

std::optional<int> AskFirstRow(IPrompt& prompt, int resumeRow)
{
    if (resumeRow < 1)
        return 0;
    const QString row = QString::number(resumeRow + 1);
    const QStringList answers = {MessageString(StringId::ResumeContinue).arg(row),
                                 MessageString(StringId::ResumeFromFirst)};
    switch (prompt.AskChoice(ApplicationCaption(), MessageString(StringId::ResumeQuestion).arg(row), answers,
                             IPrompt::EIcon::Information)) {
    case 0: return resumeRow;
    case 1: return 0;
    default: return std::nullopt;
    }
}
