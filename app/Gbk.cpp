#include "app/Gbk.h"

#include "app/Numbers.h"

#include <cerrno>
#include <iconv.h>

namespace
{

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

} // namespace

QByteArray ToGbk(const QString& text)
{
    QByteArray out;
    if (!convert("GBK", "UTF-8", text.toUtf8(), out))
        throw UserError(
            QStringLiteral("文本含有无法以GBK编码保存的字符：%1").arg(QuotedInput(text)));
    return out;
}

QString FromGbk(const QByteArray& bytes)
{
    QByteArray out;
    if (!convert("UTF-8", "GBK", bytes, out))
        throw UserError(QStringLiteral("文件内容不是有效的GBK文本"));
    return QString::fromUtf8(out);
}
