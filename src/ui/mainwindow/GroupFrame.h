#pragma once
#include <QGroupBox>

// A group box drawn the classic way in every style: a thin etched frame with
// the caption sitting on its top line. Children keep their pixel positions.
class GroupFrame : public QGroupBox {
  Q_OBJECT

 public:
  explicit GroupFrame(const QString& title, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};
