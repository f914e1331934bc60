#include "cli/Console.h"

#ifdef Q_OS_WIN
#include <QString>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace
{

// UTF-8 in, the console's characters out. A character split between two
// writes waits for the rest of its bytes.
class WindowsConsole : public QIODevice
{
public:
    explicit WindowsConsole(HANDLE console) : console_(console)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }

    qint64 writeData(const char* data, qint64 size) override
    {
        pending_.append(data, size);
        qsizetype complete = pending_.size();
        // Back over a trailing sequence that is not yet whole.
        for (qsizetype k = pending_.size() - 1, seen = 1; k >= 0 && seen <= 4; --k, ++seen) {
            const auto byte = static_cast<unsigned char>(pending_[k]);
            if ((byte & 0xC0) == 0x80)
                continue;
            const qsizetype needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            if (seen < needed)
                complete = k;
            break;
        }
        const QString text = QString::fromUtf8(pending_.constData(), complete);
        pending_.remove(0, complete);
        const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
        qsizetype left = text.size();
        while (left > 0) {
            DWORD written = 0;
            const auto chunk = static_cast<DWORD>(qMin<qsizetype>(left, 8192));
            if (!::WriteConsoleW(console_, wide, chunk, &written, nullptr) || written == 0)
                return -1;
            wide += written;
            left -= written;
        }
        return size;
    }

private:
    HANDLE console_;
    QByteArray pending_;
};

} // namespace

void UseUntranslatedStandardStreams()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

std::unique_ptr<QIODevice> ConsoleDevice(FILE* stream)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !::GetConsoleMode(handle, &mode))
        return nullptr;
    return std::make_unique<WindowsConsole>(handle);
}

#else

void UseUntranslatedStandardStreams() {}

std::unique_ptr<QIODevice> ConsoleDevice(FILE*)
{
    return nullptr;
}

#endif
