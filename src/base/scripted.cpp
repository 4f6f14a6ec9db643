#include "base/scripted.h"

Prompt::Answer ScriptedPrompt::nextAnswer(const QString& text, Answer fallback) {
    m_asked << text;
    if (m_replies.empty())
        return fallback;
    Reply r = m_replies.front();
    m_replies.pop_front();
    if (const auto* a = std::get_if<Answer>(&r))
        return *a;
    return fallback;
}

QString ScriptedPrompt::nextText(const QString& text) {
    m_asked << text;
    if (m_replies.empty())
        return {};
    Reply r = m_replies.front();
    m_replies.pop_front();
    if (const auto* s = std::get_if<QString>(&r))
        return *s;
    return {};
}

std::optional<QString> ScriptedPrompt::input(const QString&, const QString& label, const QString&,
                                             int maxLength) {
    m_asked << label;
    if (m_replies.empty())
        return std::nullopt;
    Reply r = m_replies.front();
    m_replies.pop_front();
    if (const auto* s = std::get_if<QString>(&r))
        return maxLength > 0 ? s->left(maxLength) : *s;
    return std::nullopt;
}

void ScriptedProgress::startProgress(const QString& operation) {
    clearCancel();
    m_open = true;
    m_operations << operation;
}

void ScriptedProgress::showProgressItem(const QString& text) {
    m_items << text;
    if (m_cancelAt > 0 && m_items.size() == m_cancelAt)
        requestCancel();
}
