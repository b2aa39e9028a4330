#include "app/ui/verdict_message.h"

#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "platform/window/message_box_seam.h"

namespace zendra {
namespace {

// No style ships a green check, so one is drawn: a green disc with a white tick.
QPixmap GreenCheck(qreal ratio) {
  constexpr int kSide = 48;
  QPixmap pixmap(QSize(kSide, kSide) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x2e, 0x9e, 0x44));
  painter.drawEllipse(QRectF(2, 2, kSide - 4, kSide - 4));
  QPainterPath tick;
  tick.moveTo(13, 25);
  tick.lineTo(21, 33);
  tick.lineTo(36, 16);
  painter.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(tick);
  return pixmap;
}

QString Utf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString VerdictText(const QString& fileName, const verify::Verdict& verdict) {
  switch (verdict.kind) {
    case verify::VerdictKind::Match:
      return QString::fromUtf8("%1\n与目录中的 SHA1 一致。\n\nSHA1：%2")
          .arg(fileName, Utf8(verdict.actual));
    case verify::VerdictKind::Mismatch:
      return QString::fromUtf8(
                 "%1\n与目录中的 SHA1 不一致！\n\n目录中的 SHA1：%2\n本地文件的 SHA1：%3")
          .arg(fileName, Utf8(verdict.expected), Utf8(verdict.actual));
    case verify::VerdictKind::Unreadable:
      return QString::fromUtf8("无法校验 %1：\n%2").arg(fileName, Utf8(verdict.reason));
    case verify::VerdictKind::Cancelled:
      break;
  }
  return {};
}

void ShowVerdict(QWidget* parent, const QString& fileName, const verify::Verdict& verdict) {
  if (verdict.kind == verify::VerdictKind::Cancelled) return;
  QMessageBox box(parent);
  box.setObjectName(QStringLiteral("verdictMessage"));
  box.setWindowTitle(QString::fromUtf8("校验结果"));
  box.setTextFormat(Qt::PlainText);
  box.setText(VerdictText(fileName, verdict));
  // The digests are there to be copied.
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);
  box.setStandardButtons(QMessageBox::Ok);
  switch (verdict.kind) {
    case verify::VerdictKind::Match:
      box.setIconPixmap(GreenCheck(box.devicePixelRatio()));
      break;
    case verify::VerdictKind::Mismatch:
      box.setIcon(QMessageBox::Warning);
      break;
    default:
      box.setIcon(QMessageBox::Critical);
      break;
  }
  if (const auto& intercept = CurrentMessageBoxInterceptor()) {
    intercept(box);
  } else {
    box.exec();
  }
}

}  // namespace zendra
