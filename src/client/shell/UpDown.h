#pragma once
// The update notice: the service announces a newer client, and this window offers to
// download it. Whatever the user chooses, the run ends here.

#include <QLabel>
#include <QWidget>

class N_Shape;

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    QLabel* Label1;
    N_Shape* N_Shape1;  // "是": download, then end
    N_Shape* N_Shape2;  // "否": end
    N_Shape* N_Shape3;  // "访 问 官 网": the service's home page; the notice stays

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Download();
};
