#include "output/qt/picture_pdf.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace fw {

QByteArray PicturePdfBytes(const QImage& picture, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(300);
        pdf.setTitle(title);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        QPainter painter(&pdf);
        const QRect page = painter.viewport();
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSizeF(14);
        painter.setFont(font);
        const int titleHeight = painter.fontMetrics().height() * 2;
        painter.drawText(QRect(page.left(), page.top(), page.width(), titleHeight),
                         Qt::AlignLeft | Qt::AlignTop, title);
        const QRect area(page.left(), page.top() + titleHeight, page.width(),
                         page.height() - titleHeight);
        const QSize size = picture.size().scaled(area.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRect(area.topLeft(), size), picture);
    }
    return bytes;
}

}  // namespace fw
