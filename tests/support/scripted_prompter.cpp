#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

ScriptedPrompter::ScriptedPrompter() : m_previous(&MessagePrompter())
{
    SetMessagePrompter(this);
}

ScriptedPrompter::~ScriptedPrompter()
{
    SetMessagePrompter(m_previous);
    if (!m_script.isEmpty())
        ADD_FAILURE() << m_script.size() << " scripted answer(s) never asked for; first for string id "
                      << (m_script.first().stringId ? *m_script.first().stringId : 0u);
}

ScriptedPrompter &ScriptedPrompter::answer(int button)
{
    std::lock_guard lock(m_mutex);
    m_script.append({std::nullopt, button});
    return *this;
}

ScriptedPrompter &ScriptedPrompter::expect(quint32 stringId, int button)
{
    std::lock_guard lock(m_mutex);
    m_script.append({stringId, button});
    return *this;
}

int ScriptedPrompter::prompt(const MessagePrompt &message)
{
    std::lock_guard lock(m_mutex);
    m_prompts.append(message);
    if (m_script.isEmpty()) {
        ADD_FAILURE() << "Unscripted message box: string id " << message.stringId << ", style " << message.style
                      << ", text \"" << message.text.toStdString() << "\"";
        return SafeDefaultAnswer(message.style);
    }
    const Step step = m_script.takeFirst();
    if (step.stringId && *step.stringId != message.stringId)
        ADD_FAILURE() << "Expected message box " << *step.stringId << ", got " << message.stringId << " \""
                      << message.text.toStdString() << "\"";
    return step.button;
}

QList<MessagePrompt> ScriptedPrompter::prompts() const
{
    std::lock_guard lock(m_mutex);
    return m_prompts;
}

QList<quint32> ScriptedPrompter::stringIds() const
{
    std::lock_guard lock(m_mutex);
    QList<quint32> ids;
    for (const MessagePrompt &message : m_prompts)
        ids.append(message.stringId);
    return ids;
}

MessagePrompt ScriptedPrompter::last() const
{
    std::lock_guard lock(m_mutex);
    return m_prompts.isEmpty() ? MessagePrompt() : m_prompts.last();
}

int ScriptedPrompter::pendingAnswers() const
{
    std::lock_guard lock(m_mutex);
    return int(m_script.size());
}
