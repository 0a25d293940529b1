#pragma once

#include <string>

namespace vetra {

// Where opened and saved-as documents are listed (the options record).
class TRecent_Files {
  public:
    virtual ~TRecent_Files() = default;
    virtual void addRecentFile(const std::string& fileName) = 0;
};

}  // namespace vetra
