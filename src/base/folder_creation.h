// What an attempt to create a folder of one's own came to.
#pragma once

namespace kvb {

enum class FolderCreation {
  kCreated,  // the folder did not exist and has been created
  kExisted,  // a file or folder of that name was already there
  kFailed,   // it could not be created for another reason
};

}  // namespace kvb
