#include "analysis/page/report_page.h"

#include <algorithm>
#include <stdexcept>

#include "analysis/page/base64.h"
#include "analysis/page/html_text.h"
#include "analysis/page/page_assets.h"
#include "analysis/page/picture_notes.h"
#include "analysis/page/viewer_data.h"

namespace {

std::string head() {
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           "<title>argon-md: the report of a run</title>\n<style>\n" +
           std::string(kPageStyle) + "</style>\n</head>\n";
}

std::string paragraphs(const std::vector<std::string>& lines) {
    std::string html;
    for (const auto& line : lines) {
        html += "<p>" + escapedHtml(line) + "</p>\n";
    }
    return html;
}

std::string summaryEntry(const char* term, const std::vector<std::string>& lines) {
    return lines.empty()
               ? std::string()
               : std::string("<dt>") + term + "</dt>\n<dd>\n" + paragraphs(lines) + "</dd>\n";
}

std::string checkTable(const ReportPage& page) {
    if (page.check.empty()) {
        return {};
    }
    std::string html =
        "<table id=\"check\">\n<caption>This run against the known Lennard-Jones fluid</caption>\n"
        "<thead><tr><th scope=\"col\">Observable</th><th scope=\"col\">This run</th>"
        "<th scope=\"col\">Reference</th><th scope=\"col\">Difference (standard errors)</th>"
        "</tr></thead>\n<tbody>\n";
    for (const auto& row : page.check) {
        html += "<tr><th scope=\"row\">" + escapedHtml(row.observable) + "</th><td>" +
                escapedHtml(row.thisRun) + "</td><td>" + escapedHtml(row.reference) + "</td><td>" +
                escapedHtml(row.difference) + "</td></tr>\n";
    }
    html += "</tbody>\n</table>\n";
    if (!page.checkNote.empty()) {
        html += "<p class=\"note\">" + escapedHtml(page.checkNote) + "</p>\n";
    }
    return html;
}

std::string summary(const ReportPage& page) {
    return "<section id=\"summary\">\n<h2>Summary</h2>\n<dl>\n" +
           summaryEntry("The run", page.run) +
           summaryEntry("Self-diffusion coefficient", page.diffusion) +
           summaryEntry("Radial distribution function", page.rdf) + "</dl>\n" + checkTable(page) +
           "</section>\n";
}

// The section's id is the file's name without its extension.
std::string sectionId(std::string_view name) {
    return std::string(name.substr(0, name.find('.')));
}

std::string mediaType(std::string_view name) {
    return name.ends_with(".gif") ? "image/gif" : "image/png";
}

std::string pictureSection(const PictureNote& note, const std::string& bytes) {
    return "<section id=\"" + sectionId(note.name) + "\">\n<h2>" + escapedHtml(note.heading) +
           "</h2>\n<figure>\n<img src=\"data:" + mediaType(note.name) + ";base64," + base64(bytes) +
           "\" alt=\"" + escapedHtml(note.alt) + "\">\n<figcaption>\n<p>" +
           escapedHtml(note.howToRead) + "</p>\n<p>" + escapedHtml(note.healthyRun) +
           "</p>\n</figcaption>\n</figure>\n</section>\n";
}

const PagePicture* givenPicture(const ReportPage& page, std::string_view name) {
    const auto found = std::find_if(page.pictures.begin(), page.pictures.end(),
                                    [&](const PagePicture& p) { return p.name == name; });
    return found == page.pictures.end() ? nullptr : &*found;
}

std::string pictures(const ReportPage& page) {
    for (const auto& picture : page.pictures) {
        if (std::none_of(kPictureNotes.begin(), kPictureNotes.end(),
                         [&](const PictureNote& n) { return n.name == picture.name; })) {
            throw std::invalid_argument("report page: no place for a picture named " +
                                        picture.name);
        }
    }
    std::string html;
    for (const auto& note : kPictureNotes) {
        if (const PagePicture* picture = givenPicture(page, note.name)) {
            html += pictureSection(note, picture->bytes);
        }
    }
    return html;
}

std::string viewer(const ViewerFrames& frames) {
    return "<section id=\"atoms\">\n<h2>The atoms in three dimensions</h2>\n"
           "<figure class=\"viewer\">\n"
           "<canvas id=\"viewer\" width=\"600\" height=\"600\" role=\"img\" "
           "aria-label=\"The atoms in the cell; drag to turn it\"></canvas>\n"
           "<div class=\"controls\">\n"
           "<button type=\"button\" id=\"play\">Play</button>\n"
           "<input type=\"range\" id=\"frame\" min=\"0\" max=\"0\" value=\"0\" "
           "aria-label=\"Time\">\n"
           "<output id=\"time\" for=\"frame\"></output>\n</div>\n"
           "<noscript><p>The view of the atoms needs JavaScript.</p></noscript>\n"
           "<figcaption>\n<p>Drag the cell to turn it, with the mouse or a finger; Play runs "
           "the frames and the slider moves through time. Each atom is a sphere of diameter "
           "σ, farther ones paler, shown inside the cell, so that an atom leaving through "
           "a face comes back through the opposite one.</p>\n</figcaption>\n</figure>\n"
           "<script type=\"application/json\" id=\"viewer-data\">" +
           viewerJson(frames) + "</script>\n</section>\n";
}

}  // namespace

std::string reportPageHtml(const ReportPage& page) {
    std::string html = head() +
                       "<body>\n<header>\n<h1>The report of an argon-md run</h1>\n"
                       "</header>\n<main>\n" +
                       summary(page) + pictures(page);
    if (page.viewer) {
        html += viewer(*page.viewer);
    }
    // The self-check first, so that it hears of any error in the viewer.
    html += "</main>\n<script>\n" + std::string(kSelfCheckScript) + "</script>\n<script>\n" +
            std::string(kViewerScript) + "</script>\n</body>\n</html>\n";
    return html;
}
