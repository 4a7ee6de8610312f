// The file dialogs: what they offer through the dialog seam, what they keep of an answer, and
// their filters in Qt's notation.
#include "platform/vcl/Dialogs.h"
#include "tests/common/DialogRecorder.h"

#include <gtest/gtest.h>

TEST(FileDialogs, FiltersInQtNotationTable)
{
    const struct {
        const char* filter;
        const char* qt;
    } cases[] = {
        {"Plumo Calculator Pad Files (*.pad)|*.pad|All Files (*.*)|*.*|",
         "Plumo Calculator Pad Files (*.pad);;All Files (*)"},
        {"Texts|*.txt;*.csv", "Texts (*.txt *.csv)"},
        {"Odd|", "Odd (*)"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(QtFileFilter(c.filter), QString(c.qt)) << c.filter;
}

TEST(FileDialogs, OfferTheirSettingsThroughTheSeam)
{
    DialogRecorder recorder;
    recorder.Answer(1, {"/home/pads/job.pad"});
    TSaveDialog dialog;
    dialog.Title = "Save Calculator Pad File";
    dialog.InitialDir = "/home/pads";
    dialog.FileName = "Untitled";
    dialog.Filter = "Pads|*.pad|";
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, QString("/home/pads/job.pad"));
    ASSERT_EQ(recorder.calls.size(), 1u);
    const DialogCall& call = recorder.calls[0];
    EXPECT_EQ(call.kind, DialogCall::Kind::SaveFile);
    EXPECT_EQ(call.caption, QString("Save Calculator Pad File"));
    EXPECT_EQ(call.text, QString("/home/pads"));
    EXPECT_EQ(call.fields, (QStringList{"Untitled", "Pads|*.pad|"}));
}

TEST(FileDialogs, CancelOrNoFileKeepsTheProposedName)
{
    const struct {
        const char* name;
        int result;
        QStringList values;
    } cases[] = {
        {"cancelled", 0, {"/x/ignored.pad"}},
        {"accepted without a file", 1, {}},
        {"accepted with an empty name", 1, {""}},
    };
    for (const auto& c : cases) {
        DialogRecorder recorder;
        recorder.Answer(c.result, c.values);
        TOpenDialog dialog;
        dialog.FileName = "keep.pad";
        EXPECT_FALSE(dialog.Execute()) << c.name;
        EXPECT_EQ(dialog.FileName, QString("keep.pad")) << c.name;
        ASSERT_EQ(recorder.calls.size(), 1u) << c.name;
        EXPECT_EQ(recorder.calls[0].kind, DialogCall::Kind::OpenFile) << c.name;
    }
}

