// snapshot: prints a one-pass report of the machine's resources and ends.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "diag/fault_log.h"
#include "diag/log_folder.h"
#include "locale/country.h"
#include "platform/exception.h"
#include "platform/library.h"
#include "platform/path.h"
#include "report/home_path.h"
#include "report/record_settings.h"
#include "report/report.h"
#include "report/source.h"
#include "resource/module.h"
#include "settings/inidata.h"
#include "settings/profile.h"

namespace {

// A report that did not reach its reader is a failure, not a success.
int WriteReport(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
    std::fprintf(stderr, "snapshot: cannot write the report: %s\n", std::strerror(errno));
    return 1;
}

}  // namespace

int main() {
    // A fault anywhere in the report leaves its registers and calling frames in
    // the log; the handler is unlinked again before the clean-up below.
    qv::ExceptionHandlerScope faultReport(qv::WriteFaultReport);
    // The home path comes first, so that even a failure to load the language
    // library is logged in the home directory (or an installed copy's folder
    // for it) rather than wherever the user is.
    qv::HomePath = qv::HomePathOf(qv::ExecutablePath(), qv::PathsFoldCase());
    qv::InstalledCopy = qv::InstalledCopyFolders(qv::ExecutablePath());
    qv::Module Library("QUORVANT");
    qv::LibraryHandle = Library.QueryHandle();
    const qv::CountryInfo Locale;
    qv::Profile IniFile("QUORVANT", nullptr, qv::SettingsFolder().c_str(), 0);
    qv::INIDATA IniData(Locale);
    if (IniFile.IsReady()) IniFile.GetIniData(&IniData, Locale);

    const qv::ReportSettings settings = qv::ReportSettingsFrom(IniData);
    qv::SystemSource source(Library.QueryHandle(), Locale);
    qv::Report report(source, Locale, settings);
    const int status = WriteReport(report.Text());
    faultReport.Unlink();
    return status;
}
