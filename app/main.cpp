#include <QApplication>

#include "ui/shaped_form.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  ShapedForm form;
  form.show();
  return app.exec();
}
