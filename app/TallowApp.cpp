#include "app/TallowApp.h"

#include <iostream>

#include "app/DialogTemplates.h"
#include "app/ProgramPictures.h"
#include "app/Startup.h"
#include "app/TallowDlg.h"
#include "app/templates/SendStatusTemplate.h"
#include "platform/ui/MessageBox.h"
#include "resources/ResourceIds.h"

BOOL CTallowApp::InitInstance()
{
    StartupHooks hooks;
    hooks.showAlreadyRunning = [](const platform::SystemError* failure) {
        // The user sees the same message either way; a mutex that cannot be
        // made (a per-user folder that is not private, say) is a setup
        // fault that the message does not explain, so say it here too.
        if (failure != nullptr)
            std::cerr << "tallow: " << failure->Message() << '\n';
        AfxMessageBox(ids::IDS_ALREADY_RUNNING, MB_OK | MB_ICONHAND);
    };
    hooks.prepareWindowing = [] {
        RegisterDialogTemplates();
        RegisterSendStatusTemplate();
        RegisterProgramPictures();
    };
    hooks.runMainDialog = [this](const DialogHandOff& handOff) {
        CTallowDlg dialog;
        dialog.m_bSocketsReady = handOff.bSocketsReady;
        dialog.m_bPortGiven = handOff.bPortGiven;
        dialog.m_dwGivenAddress = handOff.dwGivenAddress;
        dialog.m_strGivenUsb = handOff.strGivenUsb;
        m_pMainWnd = &dialog;
        const int result = dialog.DoModal();
        m_pMainWnd = nullptr;
        return result;
    };

    StartupOutcome outcome = RunStartup(m_arguments, hooks);
    m_nExitCode = outcome.nExitCode;
    m_instanceMutex = std::move(outcome.instanceMutex);
    return FALSE;
}

int CTallowApp::ExitInstance()
{
    return m_nExitCode;
}
