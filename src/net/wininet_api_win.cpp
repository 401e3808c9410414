#include "net/wininet_api_win.h"

namespace kvb {

std::shared_ptr<const WinInetApi> WinInetApi::Load() {
  auto api = std::make_shared<WinInetApi>();
  api->Library = SystemLibrary("wininet.dll");
  const SystemLibrary& dll = api->Library;
  api->Open = dll.Function<decltype(Open)>("InternetOpenA");
  api->CrackUrl = dll.Function<decltype(CrackUrl)>("InternetCrackUrlA");
  api->Connect = dll.Function<decltype(Connect)>("InternetConnectA");
  api->SetOption = dll.Function<decltype(SetOption)>("InternetSetOptionA");
  api->OpenRequest = dll.Function<decltype(OpenRequest)>("HttpOpenRequestA");
  api->SendRequest = dll.Function<decltype(SendRequest)>("HttpSendRequestA");
  api->QueryInfo = dll.Function<decltype(QueryInfo)>("HttpQueryInfoA");
  api->QueryDataAvailable =
      dll.Function<decltype(QueryDataAvailable)>("InternetQueryDataAvailable");
  api->Read = dll.Function<decltype(Read)>("InternetReadFile");
  api->Close = dll.Function<decltype(Close)>("InternetCloseHandle");
  const bool complete = api->Open && api->CrackUrl && api->Connect && api->SetOption &&
                        api->OpenRequest && api->SendRequest && api->QueryInfo &&
                        api->QueryDataAvailable && api->Read && api->Close;
  return complete ? api : nullptr;
}

}  // namespace kvb
