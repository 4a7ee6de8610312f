#include "tests/macro/builtin_support.h"

#include <cmath>

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
