#pragma once

#include <QWidget>

// The borderless start-up picture (486 x 288), centred on the screen.
class TFrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TFrmSplash(QWidget* parent = nullptr);
};
