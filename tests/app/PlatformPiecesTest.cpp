#include "app/Delay.h"
#include "app/ScriptedPrompt.h"
#include "app/SharedLibrary.h"
#include "app/Windows1252.h"
#include "app/WindowMessage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>

#include <gtest/gtest.h>

using namespace corvix;

TEST(Windows1252, RoundTripsEveryByteAndMapsTheTypographicRange)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(char(b));
    }
    EXPECT_EQ(EncodeWindows1252(DecodeWindows1252(all)), all);
    EXPECT_EQ(DecodeWindows1252("\x93quoted\x94 \x80"),
              QString::fromUtf8("\u201Cquoted\u201D \u20AC"));
    EXPECT_EQ(EncodeWindows1252(QString::fromUtf8("\u00C4\u4E2D")), QByteArray("\xC4?"));
    EXPECT_EQ(LowerWindows1252('A'), 'a');
    EXPECT_EQ(LowerWindows1252(0xC4), 0xE4);  // Ä -> ä
    EXPECT_EQ(LowerWindows1252(0x8A), 0x9A);  // Š -> š
    EXPECT_EQ(LowerWindows1252('1'), '1');
}

namespace {

class MessageSink : public QObject {
public:
    QList<int> ids;
    bool event(QEvent* event) override
    {
        if (auto* message = const_cast<WindowMessage*>(AsWindowMessage(event))) {
            ids.append(message->id());
            message->setResult(message->lParam() * 2);
            return true;
        }
        return QObject::event(event);
    }
};

}  // namespace

TEST(WindowMessage, SentMessagesAnswerAtOncePostedOnesWhenTheLoopRuns)
{
    MessageSink sink;
    EXPECT_EQ(SendWindowMessage(&sink, 0x1491, 0, 21), 42);
    PostWindowMessage(&sink, 0xFDB, 4, 0);
    EXPECT_EQ(sink.ids, QList<int>{0x1491});
    QCoreApplication::sendPostedEvents(&sink);
    EXPECT_EQ(sink.ids, (QList<int>{0x1491, 0xFDB}));
    EXPECT_EQ(SendWindowMessage(nullptr, 1), 0);
}

TEST(ScriptedPrompt, AnswersFromTheScriptThenTakesTheFirstButton)
{
    ScriptedPrompt prompt;
    prompt.queueButton(PromptButton::IgnoreAll);
    prompt.queueInput(QStringLiteral("Conveyor"));
    EXPECT_EQ(prompt.retryIgnoreAllCancel("No reply"), PromptButton::IgnoreAll);
    EXPECT_EQ(prompt.yesNoCancel("Save?"), PromptButton::Yes);  // script used up
    EXPECT_EQ(prompt.inputText("Rename", "Name:", "").value_or(""), "Conveyor");
    EXPECT_FALSE(prompt.inputText("Rename", "Name:", "").has_value());
    EXPECT_TRUE(prompt.chooseFiles({}).isEmpty());
    EXPECT_EQ(prompt.texts(), (QStringList{"No reply", "Save?", "Name:", "Name:"}));
    EXPECT_TRUE(prompt.scriptUsedUp());
}

TEST(ScriptedPrompt, ButtonNamesReadBothWays)
{
    for (const PromptButton button : {PromptButton::Ok, PromptButton::IgnoreAll,
                                      PromptButton::Cancel}) {
        EXPECT_EQ(PromptButtonFromText(PromptButtonText(button).toLower()), button);
    }
    EXPECT_FALSE(PromptButtonFromText("Maybe").has_value());
}

TEST(SharedLibrary, MissingFilesAndExportsAreReportedNotFatal)
{
    SharedLibrary missing(QStringLiteral("/nonexistent/driver.so"));
    EXPECT_FALSE(missing.isLoaded());
    EXPECT_FALSE(missing.errorString().isEmpty());
    EXPECT_EQ(missing.symbol("NetWorkRequest"), nullptr);
    EXPECT_EQ(SharedLibrary::symbolOf(nullptr, "Run"), nullptr);
}

TEST(Delay, KeepsHandlingEventsWhileItWaits)
{
    MessageSink sink;
    PostWindowMessage(&sink, 0x14B8);
    QElapsedTimer clock;
    clock.start();
    Delay(0, 30);
    EXPECT_GE(clock.elapsed(), 29);
    EXPECT_EQ(sink.ids, QList<int>{0x14B8});
}
