#include "manuals/builder/ManualText.h"

#include "manuals/builder/Captions.h"
#include "manuals/builder/Reference.h"
#include "manuals/builder/WorkedPad.h"

#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

// Prose with the window's captions, "{kind:name}", looked up in the program's tables.
std::string Prose(const std::string& text)
{
    std::string out;
    size_t at = 0;
    for (size_t open; (open = text.find('{', at)) != std::string::npos; at = text.find('}', open) + 1) {
        const size_t close = text.find('}', open);
        const size_t colon = text.find(':', open);
        if (close == std::string::npos || colon > close) throw std::runtime_error("a caption without {kind:name}");
        out += HtmlEscape(text.substr(at, open - at));
        out += CaptionHtml(text.substr(open + 1, colon - open - 1), text.substr(colon + 1, close - colon - 1));
    }
    return out + HtmlEscape(text.substr(at));
}

// Sets what stands between backquotes as program text, and the rest as prose.
std::string Inline(const std::string& text)
{
    std::string out;
    std::string chunk;
    bool code = false;
    for (char c : text) {
        if (c != '`') {
            chunk += c;
            continue;
        }
        out += code ? "<code>" + HtmlEscape(chunk) + "</code>" : Prose(chunk);
        chunk.clear();
        code = !code;
    }
    return out + (code ? "`" + HtmlEscape(chunk) : Prose(chunk));
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string PadHtml(const std::vector<AnsiString>& lines, const std::string& optionWords)
{
    const WorkedPadOptions options = ParsePadOptions(optionWords);
    const WorkedPad pad = CalculateWorkedPad(lines, options);
    if (!options.expectError && (!pad.completed || (!options.expectBoxes && !pad.boxes.empty()))) {
        std::string why = pad.completed ? "it showed a box" : "it did not calculate";
        for (const std::string& box : pad.boxes) why += "; " + box;
        throw std::runtime_error("a worked pad failed: " + why);
    }
    if ((options.expectError || options.expectBoxes) && pad.boxes.empty())
        throw std::runtime_error("a worked pad showed no box");

    // The controls as the window shows them; the feet-and-inches item has no text of its own.
    const std::string input = InputUnitCaption(options.input);
    std::string html = "<p class=\"controls\"><i>Input: " +
                       (input.empty() ? std::string("the empty last item (feet and inches)") : HtmlEscape(input)) +
                       " &#183; Answer: " + HtmlEscape(options.answer.empty() ? kAnswerUnits[0] : options.answer) +
                       " &#183; Precision: " + HtmlEscape(kPrecisions[options.precision + 1]) +
                       (options.angle ? " &#183; Angles: " + HtmlEscape(kAngleUnits[options.angle]) : std::string()) +
                       " &#183; Button: " + (options.total ? "= Run &amp; Total" : "= Run") + "</i></p>\n";
    html += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">"
            "<tr><th align=\"left\" width=\"65%\">Calculation</th><th align=\"left\">Answer</th></tr>\n";
    const size_t rows = std::max(pad.padLines.size(), pad.answerLines.size());
    for (size_t i = 0; i < rows; ++i) {
        const std::string line = i < pad.padLines.size() ? pad.padLines[i] : std::string();
        std::string answer = i < pad.answerLines.size() ? HtmlEscape(pad.answerLines[i]) : std::string();
        if (pad.lastIsTotal && i + 1 == pad.answerLines.size()) answer = "<b>" + answer + "</b>";
        html += "<tr><td><code>" + (line.empty() ? std::string("&#160;") : HtmlEscape(line)) + "</code></td><td>" +
                (answer.empty() ? std::string("&#160;") : answer) + "</td></tr>\n";
    }
    html += "</table>\n";
    for (const std::string& box : pad.boxes) {
        const size_t arrow = box.find(" -> ");
        if (arrow == std::string::npos) {
            html += "<p><i>The program shows the box</i> &#8220;" + HtmlEscape(box) + "&#8221;</p>\n";
        } else {
            const std::string answer = box.substr(arrow + 4);
            html += "<p><i>The program asks</i> &#8220;" + HtmlEscape(box.substr(0, arrow)) + "&#8221; <i>and you " +
                    (answer == "yes" || answer == "no" ? "answer</i> " : "type</i> ") + HtmlEscape(answer) + "</p>\n";
        }
    }
    return html;
}

}  // namespace

ManualHtml RenderManual(const std::string& text, const std::string& fileName)
{
    ManualHtml out;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    std::string paragraph;
    bool inList = false;
    const auto flush = [&] {
        if (!paragraph.empty()) out.html += "<p>" + Inline(paragraph) + "</p>\n";
        paragraph.clear();
    };
    const auto endList = [&] {
        if (inList) out.html += "</ul>\n";
        inList = false;
    };
    // The lines of a block up to its @end.
    const auto block = [&](std::vector<std::string>& lines) {
        while (std::getline(in, line)) {
            ++number;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (Trimmed(line) == "@end") return;
            lines.push_back(line);
        }
        throw std::runtime_error("a block has no @end");
    };
    try {
        while (std::getline(in, line)) {
            ++number;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::string trimmed = Trimmed(line);
            if (trimmed.empty()) {
                flush();
                endList();
            } else if (trimmed.rfind("### ", 0) == 0) {
                flush(), endList();
                out.html += "<h3>" + Inline(trimmed.substr(4)) + "</h3>\n";
            } else if (trimmed.rfind("## ", 0) == 0) {
                flush(), endList();
                out.html += "<h2>" + Inline(trimmed.substr(3)) + "</h2>\n";
            } else if (trimmed.rfind("# ", 0) == 0) {
                flush(), endList();
                if (!out.title.empty()) throw std::runtime_error("a second title");
                out.title = trimmed.substr(2);
                out.html += "<h1>" + Inline(out.title) + "</h1>\n";
            } else if (trimmed.rfind("- ", 0) == 0) {
                flush();
                if (!inList) out.html += "<ul>\n";
                inList = true;
                out.html += "<li>" + Inline(trimmed.substr(2)) + "</li>\n";
            } else if (trimmed.rfind("@pad", 0) == 0) {
                flush(), endList();
                std::vector<std::string> lines;
                block(lines);
                out.html += PadHtml(std::vector<AnsiString>(lines.begin(), lines.end()), trimmed.substr(4));
            } else if (trimmed.rfind("@table ", 0) == 0) {
                flush(), endList();
                std::vector<std::string> lines;
                block(lines);
                Descriptions descriptions;
                for (const std::string& entry : lines) {
                    const size_t bar = entry.find('|');
                    if (bar == std::string::npos) throw std::runtime_error("a description without '|'");
                    descriptions[Trimmed(entry.substr(0, bar))] = Inline(Trimmed(entry.substr(bar + 1)));
                }
                out.html += ReferenceTable(Trimmed(trimmed.substr(7)), descriptions);
            } else if (trimmed.rfind("@box ", 0) == 0) {
                flush(), endList();
                out.html += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"6\" width=\"100%\" bgcolor=\"#f3f6fa\">"
                            "<tr><td>" + Inline(trimmed.substr(5)) + "</td></tr></table>\n";
            } else if (trimmed[0] == '@') {
                throw std::runtime_error("unknown directive " + trimmed);
            } else {
                endList();
                paragraph += (paragraph.empty() ? "" : " ") + trimmed;
            }
        }
        flush();
        endList();
    } catch (const std::exception& e) {
        throw std::runtime_error(fileName + ":" + std::to_string(number) + ": " + e.what());
    }
    if (out.title.empty()) throw std::runtime_error(fileName + ": no title");
    return out;
}
