#pragma once
// A port that passes every operation on and keeps the printer's last status
// reply, so the tool can say what the printer reported at the end without
// asking it once more than the install sequence does.

#include "ports/Port.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

// nullopt when the last query failed (or none was made).
using LastStatus = std::shared_ptr<std::optional<std::wstring>>;

class CStatusTapPort final : public CPort {
public:
    CStatusTapPort(std::unique_ptr<CPort> inner, LastStatus last) : m_inner(std::move(inner)), m_last(std::move(last)) {}

    BOOL QueryStatus(std::wstring& statusText) override
    {
        const BOOL ok = m_inner->QueryStatus(statusText);
        *m_last = ok ? std::optional<std::wstring>(statusText) : std::nullopt;
        return ok;
    }
    BOOL EnterUpdateMode() override { return m_inner->EnterUpdateMode(); }
    BOOL SendData(const std::uint8_t* data, DWORD length, DWORD chunkSize) override
    {
        return m_inner->SendData(data, length, chunkSize);
    }
    const char* GetAccessCode() const override { return m_inner->GetAccessCode(); }

private:
    std::unique_ptr<CPort> m_inner;
    LastStatus m_last;
};
