#include "platform/ui/HandlerGuard.h"

#include <new>
#include <stdexcept>
#include <string>

#include "platform/text/Text.h"
#include "platform/ui/MessageBox.h"

namespace platform::ui {
namespace {

constexpr wchar_t kOutOfMemory[] = L"Out of memory.";
constexpr wchar_t kUnexpected[] = L"An unexpected error occurred.";

std::wstring Describe(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    } catch (const std::exception& e) {
        std::wstring text = AnsiToWide(e.what());
        return text.empty() ? std::wstring(kUnexpected) : text;
    } catch (...) {
        return kUnexpected;
    }
}

} // namespace

void ReportException(std::exception_ptr error) noexcept
{
    try {
        AfxMessageBox(Describe(error), MB_ICONSTOP | MB_OK);
    } catch (...) {
        // Out of memory while reporting: nothing more can be said safely.
    }
}

} // namespace platform::ui
