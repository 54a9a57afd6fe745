#pragma once
// Keeps the system from sleeping for the life of the object: an encode run may take all night with nobody at
// the keyboard, and a sleeping machine would stop it halfway. The request belongs to the calling thread, so the
// object is made and destroyed on the user-interface thread.
namespace qs {

class TKeepAwake {
public:
  TKeepAwake();
  ~TKeepAwake();
  TKeepAwake(const TKeepAwake&) = delete;
  TKeepAwake& operator=(const TKeepAwake&) = delete;
};

} // namespace qs
