// The functions the host executable exports to plug-ins, and the host
// objects behind them.
#pragma once

#include "Client.h"
#include "Presenter.h"

namespace hostapp {

// Set by the host program before it loads a plug-in.
void SetExportedClient(TClient* client);
void SetExportedPresenter(TPresenter* presenter);

}  // namespace hostapp
