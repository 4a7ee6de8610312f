#include "tests/macro/builtin_support.h"

#include <QProcess>
#include <clocale>
#include <cmath>
#include <cstdlib>

double EvalNum(const std::string& expr, const std::string& setup)
{
    ProgramRun run;
    run.Run(setup + "set_zr_qty(\"ZR_R\", " + expr + ")\n");
    EXPECT_EQ(run.Texts(), std::vector<std::string>{}) << expr;
    std::vector<double> answers = run.Answers("ZR_R");
    return answers.size() == 1 ? answers[0] : std::nan("");
}

std::string EvalStr(const std::string& expr, const std::string& setup)
{
    ProgramRun run;
    run.Run(setup + "set_zr_str(\"ZR_R\", " + expr + ")\n");
    EXPECT_EQ(run.Texts(), std::vector<std::string>{}) << expr;
    for (const HostCall& call : run.host.calls)
        if (call.name == "SetZRStr" && call.args.size() == 2) return call.args[1];
    ADD_FAILURE() << "no text from " << expr;
    return "(none)";
}

std::string FirstBox(const std::string& program)
{
    ProgramRun run;
    run.Run(program);
    std::vector<std::string> texts = run.Texts();
    return texts.empty() ? std::string() : texts.front();
}

CommaLocale::CommaLocale()
{
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    previousLocale_ = current ? current : "C";
    previousLocPath_ = std::getenv("LOCPATH");
    if (previousLocPath_) previousLocPathValue_ = previousLocPath_;
    if (!folder_.isValid()) {
        why = "no temporary folder for the locale";
        return;
    }
    // A one-byte character set: made in half a second, where UTF-8 takes several.
    const char name[] = "de_DE.ISO-8859-1";
    QProcess localedef;
    localedef.setProcessChannelMode(QProcess::MergedChannels);
    localedef.start("localedef", {"-i", "de_DE", "-f", "ISO-8859-1", folder_.filePath(name)});
    if (!localedef.waitForFinished(20000) || localedef.exitStatus() != QProcess::NormalExit ||
        localedef.exitCode() != 0) {
        localedef.kill();
        localedef.waitForFinished(5000);
        why = "localedef could not make " + std::string(name) +
              " (scripts/setup --test installs the locale sources): " + localedef.errorString().toStdString() + " " +
              localedef.readAll().toStdString();
        return;
    }
    setenv("LOCPATH", folder_.path().toLocal8Bit().constData(), 1);
    if (!std::setlocale(LC_NUMERIC, name)) {
        why = std::string("setlocale refused the locale made: ") + name;
        return;
    }
    made = std::string(std::localeconv()->decimal_point) == ",";
    if (!made) why = std::string("the locale made writes no decimal comma: ") + name;
}

CommaLocale::~CommaLocale()
{
    std::setlocale(LC_NUMERIC, previousLocale_.c_str());
    if (previousLocPath_)
        setenv("LOCPATH", previousLocPathValue_.c_str(), 1);
    else
        unsetenv("LOCPATH");
}
