#pragma once
// The update driver: owns the target model, the firmware image and the port
// of the accepted printer, and decides from the printer's status replies
// whether the update may start, whether the printer is ready to receive the
// image and whether the installation has succeeded. It shows nothing; the
// callers turn its results into messages.
//
// Each check asks the port for its status exactly once and never waits or
// retries: waiting and repetition belong to the caller.

#include "ports/Port.h"
#include "update/StatusFormat.h"
#include "update/TargetModel.h"

#include <memory>
#include <string>

class CPufImage;

enum CHECK_RESULT : int {
    CHECK_OK = 0,
    CHECK_UNREADABLE = 1,  // not set up, no pair in the reply, or a needed key or value missing
    CHECK_NO_REPLY = 2,    // the port's QueryStatus failed
    CHECK_WRONG_MODEL = 3, // MDL missing (CheckPrinter) or not a target name
    CHECK_VERSION = 4,     // the version rules the update out, or differs from the image's
    CHECK_NOT_READY = 5,   // the status code says the printer cannot receive firmware now
    CHECK_IPL_MODE = 6,    // MODE is "IPL"
};

class CUpdater {
public:
    // The program's one driver, created on first use and destroyed at exit.
    // Tests construct their own.
    static CUpdater& GetInstance();

    CUpdater();
    virtual ~CUpdater();
    CUpdater(const CUpdater&) = delete;
    CUpdater& operator=(const CUpdater&) = delete;

    // Takes over both when the image header carries the target's model code
    // and version; refuses (leaving both with the caller) when the driver
    // already holds anything, when either is null or when the header is
    // unreadable or differs.
    bool SetImage(std::unique_ptr<CTargetModel>& target, std::unique_ptr<CPufImage>& image);

    // Is the printer behind `port` the target model with an older version
    // (or the same one while in IPL mode)? On CHECK_OK the driver takes the
    // port, releasing any earlier one, and keeps `statusFormat` for it; on
    // every other result `port` stays with the caller.
    CHECK_RESULT CheckPrinter(std::unique_ptr<CPort>& port, int statusFormat);

    // Is the accepted printer ready to receive the image? CHECK_OK or
    // CHECK_IPL_MODE both let the transfer start.
    CHECK_RESULT CheckReady();

    // Does the accepted printer report the target model at the image's
    // version? Changes no member.
    CHECK_RESULT CheckInstalled() const;

    // Back to the set-up state when the user returns to choosing a printer:
    // releases the accepted port and forgets its model and version. The
    // status format stays as it was.
    void ReleasePrinter();

    std::unique_ptr<CTargetModel> m_pTarget;
    std::unique_ptr<CPufImage> m_pImage;
    std::unique_ptr<CPort> m_pPort;
    int m_nStatusFormat = STATUS_FORMAT_NONE;
    std::wstring m_strPrinterModel; // MDL of the last CheckPrinter that read it
    int m_nPrinterVersion = 0;      // VER (hundredths) of the last CheckPrinter that read it
};
