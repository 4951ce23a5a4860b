#include "OptionFile.h"

#include "LanguageTable.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <cstdlib>

namespace zq {

namespace {

// A line longer than this is read in several pieces, each taken as a line of its own.
constexpr qsizetype kMaxPieceBytes = 255;

bool isTrimmed(QChar c)
{
    return c == QChar(0x08) || c == QChar('\t') || c == QChar('\r') || c == QChar('\n');
}

// Trims backspace, tab, CR and LF at both ends; spaces are kept on purpose.
QString trimControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text.at(begin)))
        ++begin;
    while (end > begin && isTrimmed(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// Leading decimal number in the manner of atoi: optional white space and sign, digits, 0 if none.
int leadingInt(const QString& value)
{
    return std::atoi(value.toLocal8Bit().constData());
}

QVector<QByteArray> splitIntoPieces(const QByteArray& bytes)
{
    QVector<QByteArray> pieces;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', pos);
        const qsizetype lineEnd = newline < 0 ? bytes.size() : newline + 1;
        const qsizetype pieceEnd = std::min(lineEnd, pos + kMaxPieceBytes);
        pieces.append(bytes.mid(pos, pieceEnd - pos));
        pos = pieceEnd;
    }
    return pieces;
}

} // namespace

COptionFile::COptionFile() = default;
COptionFile::~COptionFile() = default;

COptionFile& TheOptionFile()
{
    static COptionFile options;
    return options;
}

QString& OptionFilePath()
{
    static QString path;
    return path;
}

bool COptionFile::BuildOptionFilePath()
{
    OptionFilePath().clear();
    const QString folder = ProgramFolder();
    if (folder.isEmpty())
        return false;
    OptionFilePath() = QDir::cleanPath(folder) + QStringLiteral("/config/option.ini");
    return true;
}

bool COptionFile::ReadOptionFile()
{
    const QString& path = OptionFilePath();
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    file.close();
    ParseOptionText(bytes);
    return true;
}

void COptionFile::ParseOptionText(const QByteArray& bytes)
{
    for (const QByteArray& piece : splitIntoPieces(bytes)) {
        const QString line = trimControls(QString::fromLocal8Bit(piece));
        if (line.startsWith(QLatin1Char('[')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = trimControls(line.left(equals));
        const QString value = trimControls(line.mid(equals + 1));
        if (key == QLatin1String("SAVE_DIRECTORY"))
            m_saveDirectory = value.isEmpty() ? GetDefaultCaptureFolder() : value;
        else if (key == QLatin1String("PLAY_VALUE"))
            m_playValue = leadingInt(value);
        else if (key == QLatin1String("REAR_MIRROR"))
            m_rearMirror = leadingInt(value) == 1;
        else if (key == QLatin1String("LANGUAGE"))
            m_language = leadingInt(value);
        else if (key == QLatin1String("DEFAULT_LANGUAGE"))
            m_defaultLanguage = leadingInt(value);
        else if (key == QLatin1String("MODEL"))
            m_model = leadingInt(value);
        else if (key == QLatin1String("SPEED"))
            m_speedInMiles = leadingInt(value) != 0;
    }
}

bool COptionFile::WriteOptionFile()
{
    const QString& path = OptionFilePath();
    if (path.isEmpty())
        return false;
    QByteArray text;
    auto line = [&text](const QByteArray& content) { text += content + "\r\n"; };
    line("[DIRECTORY]");
    line("ROOT_DIRECTORY=TQ_CORVANE");
    line("EVENT_DIRECTORY=MP4_EVENT");
    line("CONTINUOS_DIRECTORY=MP4_INFINITE");
    line("[OPTION]");
    line("SAVE_DIRECTORY=" + m_saveDirectory.toLocal8Bit());
    line("PLAY_VALUE=" + QByteArray::number(m_playValue));
    line("USE_LOG=FALSE");
    line("LOG_LEVEL=3");
    line("LOG_TYPE=3");
    line("REAR_MIRROR=" + QByteArray::number(m_rearMirror ? 1 : 0));
    line("LANGUAGE=" + QByteArray::number(m_language));
    line("DEFAULT_LANGUAGE=" + QByteArray::number(m_defaultLanguage));
    line("MODEL=" + QByteArray::number(m_model));
    line("SPEED=" + QByteArray::number(m_speedInMiles ? 1 : 0));

    // The new text replaces the old file only once it is completely on disk.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void COptionFile::LoadLanguageDll()
{
    m_languageLibrary.reset();
    const QString name = LanguageLibraryName(m_language);
    const QString folder = ProgramFolder();
    if (name.isEmpty() || folder.isEmpty())
        return;
    auto table = std::make_unique<StringTable>();
    if (table->Load(folder + QStringLiteral("/lang/") + name + QStringLiteral(".lng")))
        m_languageLibrary = std::move(table);
}

QString GetDefaultCaptureFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (base.isEmpty() || !QDir(base).exists())
        base = QDir::homePath();
    if (base.isEmpty())
        return {};
    const QString folder = QDir::cleanPath(base) + QStringLiteral("/CAM_CAPTURE");
    QDir().mkdir(folder); // one level only; an existing folder is fine
    return folder;
}

} // namespace zq
