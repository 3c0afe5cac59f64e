#pragma once

#include <QWidget>
#include <string>
#include <vector>

namespace tolvane {

// A small window that starts a drag of its files when the left button goes
// down in it, the way a file manager offers files: as a uri-list and as plain
// text, for Copy or Move, Copy by default. It prints the action the drop
// target chose ("copy", "move", "link" or "ignore") and quits once the target
// is done with the data.
class DragSourceWindow : public QWidget {
  public:
    explicit DragSourceWindow(std::vector<std::string> absolute_paths);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void StartDrag();

    std::vector<std::string> paths_;
    bool dragged_ = false;
};

}  // namespace tolvane
