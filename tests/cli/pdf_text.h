#pragma once
// The text and the page facts of a PDF, read back through poppler-utils.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli_run.h"

namespace fw::cli::test {

// Runs of blanks as one blank: the text extraction does not keep the exact count.
inline std::string Squeezed(const std::string& text) {
    std::string out;
    for (const char c : text)
        if (c != ' ' || out.empty() || out.back() != ' ') out.push_back(c);
    return out;
}

// The PDF's text in reading order, through poppler's pdftotext, blanks squeezed.
inline std::string PdfText(const std::string& pdf) {
    const std::string txt = pdf + ".txt";
    const std::string command = "pdftotext -layout '" + pdf + "' '" + txt + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    const std::string text = ReadAll(txt);
    std::remove(txt.c_str());
    return Squeezed(text);
}

// pdfinfo's report on the PDF.
inline std::string PdfInfo(const std::string& pdf) {
    const std::string txt = pdf + ".info";
    const std::string command = "pdfinfo '" + pdf + "' > '" + txt + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    const std::string info = ReadAll(txt);
    std::remove(txt.c_str());
    return info;
}

}  // namespace fw::cli::test
