#include <gtest/gtest.h>

#include "FakeHost.h"
#include "TestFiles.h"
#include "platform/Platform.h"
#include "report/LogReport.h"
#include "report/NegativeCoords.h"
#include "report/TranslationComplete.h"
#include "shell/ModuleState.h"

namespace {

using testfiles::ReadFile;

int32_t IndexOf(ui::IDialogForm& form, const std::string& name) {
    for (int32_t i = 0; i < form.ControlCount(); ++i)
        if (name == form.Control(i)->Name()) return i;
    return -1;
}

ui::IDialogControl& ControlOf(ui::IDialogForm& form, const std::string& name) {
    return *form.Control(IndexOf(form, name));
}

class Report : public testing::Test {
protected:
    void SetUp() override {
        fakehost::Reset();
        shell::InitializeModuleState();
        ::unsetenv("MARNEL_TESTMODE");
    }
    void TearDown() override { ::unsetenv("MARNEL_TESTMODE"); }
    testfiles::TScratchDir Dir;
};

TEST_F(Report, CleanRunWritesTheFrameAndShowsNoDialog) {
    report::BeginLog(Dir / "board.pcb");
    report::LogLine("AddingPadStyle P:EX60Y60D351");
    report::EndLog();
    EXPECT_EQ(ReadFile(Dir / "board.Rep"),
              "Export log for : board.Rep\r\nAddingPadStyle P:EX60Y60D351\r\n \r\nEndLog\r\n");
    EXPECT_TRUE(fakehost::State().DialogsShown.empty());
    EXPECT_TRUE(Dir.TempFiles().empty());
}

TEST_F(Report, LinesAreCutAt255Characters) {
    report::BeginLog(Dir / "board.pcb");
    report::LogWarning(std::string(250, 'w'));
    report::LogError("bad");
    report::EndLog();
    const std::string text = ReadFile(Dir / "board.Rep");
    EXPECT_NE(text.find("\r\n      Warning: " + std::string(240, 'w') + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n      Error:   bad\r\n"), std::string::npos);
}

struct StatusCase {
    const char* What;
    bool Error, Warning;
    const char* Label;
};

TEST_F(Report, StatusDialogTellsTheOutcome) {
    const StatusCase cases[] = {
        {"errors", true, false, "Status: Translation Failed"},
        {"warnings", false, true, "Status: Translation Complete, Warnings Found"},
        {"an error wins over warnings", true, true, "Status: Translation Failed"},
    };
    for (const auto& c : cases) {
        std::string label;
        bool checked = false, focusOnClose = false;
        fakehost::State().Dialog = [&](ui::IDialogForm& form) {
            label = ControlOf(form, "LabelStatus").Text();
            checked = ControlOf(form, "CheckBoxViewReport").Checked();
            focusOnClose = form.FocusedControl() == IndexOf(form, "ButtonOK");
            form.KeyDown(IndexOf(form, "CheckBoxViewReport"), ui::KeyEscape);
        };
        report::BeginLog(Dir / "board.pcb");
        if (c.Warning) report::LogWarning("w");
        if (c.Error) report::LogError("e");
        report::EndLog();
        EXPECT_EQ(label, c.Label) << c.What;
        EXPECT_TRUE(checked) << c.What;
        EXPECT_TRUE(focusOnClose) << c.What;
    }
    EXPECT_TRUE(fakehost::State().OpenedDocuments.empty()) << "Escape never opens the report";
}

TEST_F(Report, CloseWithTheCheckMarkOpensTheReport) {
    struct Case {
        const char* What;
        std::function<void(ui::IDialogForm&)> Answer;
        bool Opens;
    } cases[] = {
        {"Close with the check mark", [](ui::IDialogForm& f) { f.Click(IndexOf(f, "ButtonOK")); }, true},
        {"Enter presses the default button", [](ui::IDialogForm& f) { f.KeyDown(-1, ui::KeyReturn); }, true},
        {"check mark cleared",
         [](ui::IDialogForm& f) {
             f.Click(IndexOf(f, "CheckBoxViewReport"));
             f.Click(IndexOf(f, "ButtonOK"));
         },
         false},
        {"the window's close button", [](ui::IDialogForm& f) { f.CloseRequested(); }, false},
        {"Escape on the dialog", [](ui::IDialogForm& f) { f.KeyDown(-1, ui::KeyEscape); }, false},
    };
    for (const auto& c : cases) {
        fakehost::State().OpenedDocuments.clear();
        fakehost::State().Dialog = c.Answer;
        report::BeginLog(Dir / "board.pcb");
        report::LogWarning("w");
        report::EndLog();
        EXPECT_EQ(fakehost::State().OpenedDocuments.size(), c.Opens ? 1u : 0u) << c.What;
        if (c.Opens) {
            EXPECT_EQ(fakehost::State().OpenedDocuments[0], Dir / "board.Rep") << c.What;
        }
    }
}

TEST_F(Report, AnOpenReportIsShownWithTheCursorOnTop) {
    fakehost::State().OpenDocumentPath = Dir / "board.Rep";
    fakehost::State().Dialog = [](ui::IDialogForm& f) { f.Click(IndexOf(f, "ButtonOK")); };
    report::BeginLog(Dir / "board.pcb");
    report::LogWarning("w");
    report::EndLog();
    EXPECT_TRUE(fakehost::State().OpenedDocuments.empty());
    ASSERT_EQ(fakehost::State().Commands.size(), 1u);
    EXPECT_EQ(fakehost::State().Commands[0], "TextEdit:MoveCursorToTopOfDocument");
}

TEST_F(Report, TestModeWritesTheReportButShowsNoDialog) {
    ::setenv("MARNEL_TESTMODE", "1", 1);
    report::BeginLog(Dir / "board.pcb");
    report::LogError("e");
    report::EndLog();
    EXPECT_TRUE(fakehost::State().DialogsShown.empty());
    EXPECT_NE(ReadFile(Dir / "board.Rep").find("Error:   e"), std::string::npos);
}

TEST(StatusDialog, ControlsSitWhereTheyShould) {
    report::TTranslationStatus dialog;
    EXPECT_STREQ(dialog.Caption(), "VORN Translator");
    EXPECT_EQ(dialog.ClientWidth(), 239);
    EXPECT_EQ(dialog.ClientHeight(), 100);
    EXPECT_TRUE(dialog.HasCloseButton());
    struct Place {
        const char* Name;
        int Left, Top, Width, Height;
        const char* Text;
    } places[] = {{"LabelStatus", 13, 9, 143, 13, "Status: Translation Successful"},
                  {"CheckBoxViewReport", 16, 34, 89, 17, "&View Report"},
                  {"BevelDesignRules", 7, 59, 226, 9, ""},
                  {"ButtonOK", 155, 70, 75, 24, "Close"}};
    for (const auto& p : places) {
        ui::IDialogControl& c = ControlOf(dialog, p.Name);
        EXPECT_EQ(c.Left(), p.Left) << p.Name;
        EXPECT_EQ(c.Top(), p.Top) << p.Name;
        EXPECT_EQ(c.Width(), p.Width) << p.Name;
        EXPECT_EQ(c.Height(), p.Height) << p.Name;
        EXPECT_STREQ(c.Text(), p.Text) << p.Name;
    }
    EXPECT_TRUE(dialog.ButtonOK.IsDefault());
}

class NegativeCoords : public testing::Test {
protected:
    void SetUp() override {
        fakehost::Reset();
        report::ResetRememberedNegativeCoordsMode();
    }
};

TEST_F(NegativeCoords, FirstAskPreselectsSkipWithTheWarningHidden) {
    bool skipChecked = false, warningVisible = true, tabStop = true;
    fakehost::State().Dialog = [&](ui::IDialogForm& f) {
        skipChecked = ControlOf(f, "xrbSkip").Checked();
        warningVisible = ControlOf(f, "lblWarning").Visible();
        tabStop = ControlOf(f, "xrbShift").TabStop();
        f.Click(IndexOf(f, "btnOK"));
    };
    EXPECT_EQ(report::AskNegativeCoordsMode(), report::ncSkip);
    EXPECT_TRUE(skipChecked);
    EXPECT_FALSE(warningVisible);
    EXPECT_FALSE(tabStop);
    EXPECT_EQ(fakehost::State().DialogsShown, std::vector<std::string>{"V-ORN Translation Problems"});
}

TEST_F(NegativeCoords, LeavingShowsTheRedWarningAtOnce) {
    std::vector<bool> visible;
    fakehost::State().Dialog = [&](ui::IDialogForm& f) {
        f.Click(IndexOf(f, "xrbLeaveAsIs"));
        visible.push_back(ControlOf(f, "lblWarning").Visible());
        f.Click(IndexOf(f, "xrbShift"));
        visible.push_back(ControlOf(f, "lblWarning").Visible());
        f.Click(IndexOf(f, "xrbLeaveAsIs"));
        visible.push_back(ControlOf(f, "lblWarning").Visible());
        EXPECT_TRUE(ControlOf(f, "lblWarning").Bold());
        EXPECT_EQ(ControlOf(f, "lblWarning").Color(), 0x0000FFu);
        f.Click(IndexOf(f, "btnOK"));
    };
    EXPECT_EQ(report::AskNegativeCoordsMode(), report::ncLeaveAsIs);
    EXPECT_EQ(visible, (std::vector<bool>{true, false, true}));
}

TEST_F(NegativeCoords, ConfirmedChoiceIsOfferedAgainAndCancelKeepsIt) {
    fakehost::State().Dialog = [](ui::IDialogForm& f) {
        f.Click(IndexOf(f, "xrbShift"));
        f.Click(IndexOf(f, "btnOK"));
    };
    EXPECT_EQ(report::AskNegativeCoordsMode(), report::ncShift);
    bool shiftPreselected = false;
    fakehost::State().Dialog = [&](ui::IDialogForm& f) {
        shiftPreselected = ControlOf(f, "xrbShift").Checked();
        f.Click(IndexOf(f, "xrbLeaveAsIs"));
        f.CloseRequested();  // the keyboard's close command
    };
    EXPECT_EQ(report::AskNegativeCoordsMode(), report::ncShift);
    EXPECT_TRUE(shiftPreselected);
    EXPECT_EQ(report::RememberedNegativeCoordsMode(), report::ncShift);
}

TEST(NegativeCoordsDialog, Layout) {
    report::TNegativeCoordsForm form;
    EXPECT_STREQ(form.Caption(), "V-ORN Translation Problems");
    EXPECT_EQ(form.ClientWidth(), 361);
    EXPECT_EQ(form.ClientHeight(), 193);
    EXPECT_FALSE(form.HasCloseButton());
    EXPECT_FALSE(form.HasSystemMenu());
    EXPECT_EQ(form.InnerBorder(), 8);
    EXPECT_STREQ(form.lblExplain.Text(),
                 "Some primitives on the given PCB board have negative coordinates.\n"
                 "V-ORN 2004 doesn't handle this situation.\n"
                 "Please choose how to convert board primitives:");
    EXPECT_EQ(form.btnOK.Left(), 288);
    EXPECT_EQ(form.btnOK.Top(), 168);
    EXPECT_EQ(form.btnOK.Width(), 73);
    EXPECT_EQ(form.btnOK.Height(), 25);
    EXPECT_EQ(form.xrbShift.Top(), 104);
    EXPECT_EQ(form.lblWarning.Top(), 136);
    EXPECT_EQ(form.lblWarning.Width(), 281);
    EXPECT_TRUE(form.btnOK.IsDefault());
}

}  // namespace
