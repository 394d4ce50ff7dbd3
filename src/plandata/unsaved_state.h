#pragma once

namespace velmora {

// Whether the loaded plan holds edits that are not saved yet, and whether it may be saved at
// all (not in inquiry mode). Every edit marks it; the save button, the close question and the
// discard question read it.
class UnsavedState {
 public:
  void MarkEdited() { edited_ = true; }
  void MarkSaved() { edited_ = false; }
  void SetInquiryMode(bool inquiry) { inquiry_ = inquiry; }

  bool Edited() const { return edited_; }
  bool InquiryMode() const { return inquiry_; }
  // Edits that can be saved: the save button is enabled, and dropping them asks first.
  bool CanSave() const { return edited_ && !inquiry_; }

 private:
  bool edited_ = false;
  bool inquiry_ = false;
};

}  // namespace velmora
