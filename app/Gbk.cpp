#include "app/Gbk.h"

#include "app/Numbers.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace
{

#ifdef Q_OS_WIN

// GBK is Windows code page 936. The code page also maps GBK's user-defined
// areas (AAA1–AFFE, F8A1–FEFE, A140–A7A0) to the private use area, which the
// GBK of other systems leaves undefined: those are refused both ways, so
// that a file written or read here is written or read alike everywhere.
constexpr UINT kGbkCodePage = 936;

bool isPrivateUse(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF)
            return true;
    }
    return false;
}

bool toGbk(const QString& text, QByteArray& out)
{
    if (text.isEmpty()) {
        out.clear();
        return true;
    }
    if (isPrivateUse(text))
        return false;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = static_cast<int>(text.size());
    BOOL substituted = FALSE;
    const int size = ::WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide, length,
                                           nullptr, 0, nullptr, &substituted);
    if (size <= 0 || substituted)
        return false;
    out.resize(size);
    return ::WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide, length, out.data(), size,
                                 nullptr, &substituted) == size &&
           !substituted;
}

bool fromGbk(const QByteArray& bytes, QString& out)
{
    if (bytes.isEmpty()) {
        out.clear();
        return true;
    }
    const int length = static_cast<int>(bytes.size());
    const int size = ::MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, bytes.constData(),
                                           length, nullptr, 0);
    if (size <= 0)
        return false;
    out.resize(size);
    if (::MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, bytes.constData(), length,
                              reinterpret_cast<wchar_t*>(out.data()), size) != size)
        return false;
    return !isPrivateUse(out);
}

#else

// One conversion through iconv; false when a character has no form in the
// target or the input is not valid in the source.
bool convert(const char* to, const char* from, const QByteArray& in, QByteArray& out)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    out.resize(in.size() * 4 + 16);
    char* inPtr = const_cast<char*>(in.constData());
    size_t inLeft = static_cast<size_t>(in.size());
    char* outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1))
        return false;
    out.resize(out.size() - static_cast<int>(outLeft));
    return true;
}

bool toGbk(const QString& text, QByteArray& out)
{
    return convert("GBK", "UTF-8", text.toUtf8(), out);
}

bool fromGbk(const QByteArray& bytes, QString& out)
{
    QByteArray utf8;
    if (!convert("UTF-8", "GBK", bytes, utf8))
        return false;
    out = QString::fromUtf8(utf8);
    return true;
}

#endif

} // namespace

QByteArray ToGbk(const QString& text)
{
    QByteArray out;
    if (!toGbk(text, out))
        throw UserError(
            QStringLiteral("文本含有无法以GBK编码保存的字符：%1").arg(QuotedInput(text)));
    return out;
}

QString FromGbk(const QByteArray& bytes)
{
    QString out;
    if (!fromGbk(bytes, out))
        throw UserError(QStringLiteral("文件内容不是有效的GBK文本"));
    return out;
}
