#pragma once

#include "StringTable.h"

#include <QString>
#include <memory>

namespace zq {

/// The viewer's own settings, kept in "config/option.ini" beside the program.
/// Exactly one instance exists for the whole process: TheOptionFile().
class COptionFile {
public:
    COptionFile();
    ~COptionFile();
    COptionFile(COptionFile&&) noexcept = default;
    COptionFile& operator=(COptionFile&&) noexcept = default;

    /// Sets the option-file path to the program folder + "/config/option.ini"; false (path left empty)
    /// when the program folder cannot be determined.
    bool BuildOptionFilePath();
    /// Reads the file at the stored path into the fields; true if the file could be opened.
    bool ReadOptionFile();
    /// Applies the lines of an option file's text to the fields (what ReadOptionFile does once it has the
    /// bytes).
    void ParseOptionText(const QByteArray& bytes);
    /// Rewrites the whole file (fifteen CR LF lines) from the fields; true if the file could be written.
    /// The new text goes to a temporary file in the same folder that then replaces the old file.
    bool WriteOptionFile();
    /// Frees the loaded string table and loads the one the language field selects (none outside 0..11).
    void LoadLanguageDll();

    bool HasLanguageLibrary() const { return m_languageLibrary != nullptr; }
    const StringTable* LanguageLibrary() const { return m_languageLibrary.get(); }

    QString m_saveDirectory;
    int m_playValue = 5;
    bool m_rearMirror = false;
    int m_language = 0;
    int m_defaultLanguage = 0;
    int m_model = 0;
    bool m_speedInMiles = false;

private:
    std::unique_ptr<StringTable> m_languageLibrary;
};

/// The process-wide option settings.
COptionFile& TheOptionFile();

/// The full path of the option file; empty until BuildOptionFilePath has filled it.
QString& OptionFilePath();

/// The default snapshot folder: the documents folder + "/CAM_CAPTURE" (else the home folder +
/// "/CAM_CAPTURE"); one level is created, an existing folder is fine.
QString GetDefaultCaptureFolder();

} // namespace zq
