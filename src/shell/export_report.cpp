// File > Export report: the reduction of the session as CSV and as the JSON
// of `velkarn-cli reduce --json`, with a picture of the image view, under
// one name the user chooses.
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "astro/numerical_error.h"
#include "files/file_group.h"
#include "files/options.h"
#include "files/reduction_export.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "shell/image_file_names.h"
#include "shell/main_commands.h"
#include "shell/shell_view.h"

namespace {

constexpr const char* kCaption = "Export report";

// The name without an extension of the report's own (NAME.csv, NAME.JSON
// and NAME.png all name the report NAME).
std::string ReportBase(const std::string& path) {
    const std::filesystem::path p(path);
    std::string ext = p.extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".csv" || ext == ".json" || ext == ".png") return (p.parent_path() / p.stem()).string();
    return path;
}

bool AnyExists(const std::string& base) {
    std::error_code ec;
    for (const char* ext : {".csv", ".json", ".png"})
        if (std::filesystem::exists(base + ext, ec)) return true;
    return false;
}

std::string Proposed(const DialogData& d) {
    if (d.meteor[0] != '\0') return d.meteor;
    if (d.image[0] != '\0') return d.image;
    return "report";
}

}  // namespace

std::optional<std::string> MainCommands::AskReportName() {
    FileDialogRequest request;
    request.filters = {{"Reduction report (NAME.csv, NAME.json, NAME.png)", ""}};
    request.directory = opt.outputdir;
    request.file_name = Proposed(SessionData::dlgdat);
    for (;;) {
        const std::optional<std::string> path = s_.files.Save(request);
        if (!path) return std::nullopt;
        const std::string base = ReportBase(*path);
        if (!AnyExists(base) || s_.messages.Show("Report already exists. Overwrite?", kCaption, MbButtons::YesNo,
                                                 MbIcon::None) == MbAnswer::Yes) {
            return base;
        }
        request.directory = DirectoryPart(*path);
        request.file_name = path->substr(request.directory.size());
    }
}

void MainCommands::WMExportReport() {
    if (!image_) return;
    // The report is made from a copy: exporting leaves the session as it
    // is, plate centre included.
    SessionData copy = *session_;
    ReductionExport report;
    try {
        report = MakeReductionExport(copy, session_file_, image_->type, image_->width, image_->height);
    } catch (const NumericalError& e) {
        ShowNumericalError(e, kCaption);
        return;
    }
    const std::optional<std::string> base = AskReportName();
    if (!base) return;

    std::vector<FileContent> files{{*base + ".csv", ReductionCsv(report, copy)},
                                   {*base + ".json", ReductionJson(report, copy, SessionData::dlgdat) + "\n"}};
    if (const std::optional<std::string> png = s_.view.ImageViewPng()) {
        if (png->empty()) {
            s_.messages.Show("Report not written.\nThe picture of the image view cannot be made.", kCaption,
                             MbButtons::Ok, MbIcon::Stop);
            return;
        }
        files.push_back({*base + ".png", *png});
    }
    std::filesystem::path failed;
    if (!WriteFileGroup(files, failed)) {
        const int error = errno;
        s_.messages.Show("Report not written.\n" + failed.string() + ":\n" + std::strerror(error) + ".", kCaption,
                         MbButtons::Ok, MbIcon::Stop);
    }
}
