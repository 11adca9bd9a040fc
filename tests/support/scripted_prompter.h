#pragma once
// A message prompter for tests: installed for its lifetime, it records every
// message and answers from a script. A message nobody scripted, a message
// other than the one expected, and answers left over at the end each fail the
// running test.

#include "core/message_box.h"
#include "core/staged_files.h"

#include <QList>

#include <gtest/gtest.h>

#include <mutex>
#include <optional>

class ScriptedPrompter final : public IMessagePrompter {
public:
    ScriptedPrompter();
    ~ScriptedPrompter() override;
    ScriptedPrompter(const ScriptedPrompter &) = delete;
    ScriptedPrompter &operator=(const ScriptedPrompter &) = delete;

    // Queues the answer to the next message, whatever it is.
    ScriptedPrompter &answer(int button);
    // Queues the answer to the next message, which must be string id.
    ScriptedPrompter &expect(quint32 stringId, int button);

    int prompt(const MessagePrompt &message) override;

    QList<MessagePrompt> prompts() const;
    QList<quint32> stringIds() const;
    MessagePrompt last() const; // an empty prompt when there was none
    int pendingAnswers() const;

private:
    struct Step {
        std::optional<quint32> stringId;
        int button;
    };

    IMessagePrompter *m_previous;
    mutable std::mutex m_mutex;
    QList<Step> m_script;
    QList<MessagePrompt> m_prompts;
};

// Makes every prompt the program refuses inside an open change of stored
// files (it would be answered with them half changed) fail the running test.
inline void FailOnPromptsInsideStagedSets()
{
    SetRefusedPromptObserver([](const QString &what) {
        ADD_FAILURE() << "a prompt inside an open change of stored files: " << what.toStdString();
    });
}
