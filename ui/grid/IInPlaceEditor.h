#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <utility>

// What every in-place editor of the grid has in common: the widget over the cell, its text at the
// end, and the commit flag that Escape clears. An editor ends once; the grid then stores its text.
class IInPlaceEditor
{
public:
    enum class EEnd
    {
        Close,        // focus loss, Enter or Escape
        EditNextCell, // Tab: the grid goes on to the next editable cell of the row
    };
    using EndHandler = std::function<void(EEnd)>;

    virtual ~IInPlaceEditor() = default;

    virtual QWidget* Widget() = 0;
    // Shows the cell's text for editing.
    virtual void Begin(const QString& cellText) = 0;
    // The text the cell gets when the editor commits.
    virtual QString Text() const = 0;
    // The items of a combo cell, "$" between them, given before Begin; other editors have none.
    virtual void SetList(const QString& list) { Q_UNUSED(list); }
    // Puts the widget over the cell, whose rectangle is in the parent's coordinates.
    virtual void Place(const QRect& cell) { Widget()->setGeometry(cell); }
    // Runs once the editor is shown and has the focus.
    virtual void Opened() {}

    bool Commits() const { return m_commit; }
    void SetEndHandler(EndHandler handler) { m_onEnd = std::move(handler); }

protected:
    void End(EEnd how)
    {
        if (m_ended)
            return;
        m_ended = true;
        // The handler may release this editor's hold on it, so it runs from a copy of its own.
        const EndHandler handler = std::move(m_onEnd);
        m_onEnd = nullptr;
        if (handler)
            handler(how);
    }
    void Cancel()
    {
        m_commit = false;
        End(EEnd::Close);
    }

private:
    bool m_commit = true;
    bool m_ended = false;
    EndHandler m_onEnd;
};
