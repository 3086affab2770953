#pragma once
// The cell title tip of the grid, as far as the grid uses it: it is hidden
// before the grid scrolls. The tip window itself (window class "ZTitleTip")
// comes with the shared controls; until then the grid keeps this stand-in,
// which shows nothing.

class CTitleTip {
 public:
  void Hide() { m_visible = false; }
  bool IsVisible() const { return m_visible; }

 private:
  bool m_visible = false;
};
