#include "shell/print_job.h"

namespace ferrovane {

std::vector<std::string> PrintJob::texts() const {
    std::vector<std::string> out;
    for (const PrintPage& page : pages)
        for (const PrintLine& line : page.lines)
            out.push_back(line.text);
    return out;
}

PrintWriter::PrintWriter(std::string title, Font font, double leftTwips, double topTwips,
                         double lineTwips, double pageBottomTwips)
    : font_(font), left_(leftTwips), top_(topTwips), line_(lineTwips), bottom_(pageBottomTwips),
      y_(topTwips) {
    job_.title = std::move(title);
    job_.pages.emplace_back();
}

void PrintWriter::print(const std::string& text) {
    // A page that holds nothing yet, not even an empty line, takes the line
    // however tall it is; any other starts the next page.
    if (y_ + line_ > bottom_ && y_ > top_) {
        job_.pages.emplace_back();
        y_ = top_;
    }
    if (!text.empty())
        job_.pages.back().lines.push_back(PrintLine{left_, y_, text, font_});
    y_ += line_;
}

PrintJob PrintWriter::finish() {
    return std::move(job_);
}

} // namespace ferrovane
