#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBoxes, ResponderAnswersByStringIdOrTextAndRecords) {
    platform::MessageBoxResponder responder;
    responder.Answer(18656, IDYES);
    responder.AnswerText(L"Retry?", IDCANCEL);
    EXPECT_EQ(platform::ShowMessageBox(nullptr, L"Replace the file?", L"", MB_YESNO | MB_DEFBUTTON2,
                                       18656),
              IDYES);
    EXPECT_EQ(MessageBoxW(nullptr, L"Retry?", L"Port", MB_RETRYCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxW(nullptr, L"Other", L"", MB_YESNO | MB_DEFBUTTON2), IDNO);
    ASSERT_EQ(responder.Shown().size(), 3u);
    EXPECT_EQ(responder.Shown()[0].stringId, 18656u);
    EXPECT_EQ(responder.Shown()[1].caption, L"Port");
}

TEST(MessageBoxes, DefaultAnswerIsTheDefaultButton) {
    const struct {
        UINT type;
        int answer;
    } cases[] = {{MB_OK, IDOK},
                 {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
                 {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
                 {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
                 {MB_YESNO | MB_ICONQUESTION, IDYES}};
    for (const auto& c : cases)
        EXPECT_EQ(platform::DefaultMessageBoxAnswer(c.type), c.answer) << c.type;
}

TEST(MessageBoxes, DecliningAnswersCancelOrNoWhateverTheDefaultButton) {
    const struct {
        UINT type;
        int answer;
    } cases[] = {{MB_OK, IDOK},
                 {MB_OKCANCEL, IDCANCEL},
                 {MB_YESNOCANCEL | MB_DEFBUTTON1, IDNO}, // the offer declined, the close goes on
                 {MB_ABORTRETRYIGNORE, IDIGNORE},
                 {MB_YESNO | MB_ICONQUESTION, IDNO},
                 {MB_RETRYCANCEL, IDCANCEL}};
    platform::MessageBoxResponder responder;
    responder.SetDeclineAll(true);
    responder.Answer(18656, IDYES); // a specific answer still wins
    for (const auto& c : cases) {
        EXPECT_EQ(platform::DeclineMessageBoxAnswer(c.type), c.answer) << c.type;
        EXPECT_EQ(MessageBoxW(nullptr, L"Restore?", L"", c.type), c.answer) << c.type;
    }
    EXPECT_EQ(platform::ShowMessageBox(nullptr, L"Replace?", L"", MB_YESNO, 18656), IDYES);
}

} // namespace
