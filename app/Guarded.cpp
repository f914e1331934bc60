#include "app/Guarded.h"

#include "app/Numbers.h"

#include <new>

void ShowCurrentFailure(QWidget* parent) noexcept
{
    try {
        QString text;
        try {
            throw;
        } catch (const UserError& e) {
            text = e.text();
        } catch (const std::bad_alloc&) {
            text = QStringLiteral("内存不足，操作未完成！");
        } catch (const std::exception& e) {
            text = QStringLiteral("操作未完成：%1").arg(QString::fromUtf8(e.what()));
        } catch (...) {
            text = QStringLiteral("发生未知错误，操作未完成！");
        }
        prompts().error(parent, text);
    } catch (...) {
        // Nothing more can be shown; the window stays usable.
    }
}
