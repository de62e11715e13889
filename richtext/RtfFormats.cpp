#include "richtext/RtfFormats.h"

#include <cmath>

namespace bp::rtf {

namespace {

int toTwips(double pixels) {
    return static_cast<int>(std::lround(pixels * kTwipsPerPixel));
}

}  // namespace

QTextBlockFormat toBlockFormat(const ParaProps& para) {
    QTextBlockFormat format;
    switch (para.align) {
        case ParaProps::Align::Center:
            format.setAlignment(Qt::AlignHCenter);
            break;
        case ParaProps::Align::Right:
            format.setAlignment(Qt::AlignRight);
            break;
        case ParaProps::Align::Justify:
            format.setAlignment(Qt::AlignJustify);
            break;
        case ParaProps::Align::Left:
            break;
    }
    if (para.leftIndent != 0) {
        format.setLeftMargin(para.leftIndent / kTwipsPerPixel);
    }
    if (para.rightIndent != 0) {
        format.setRightMargin(para.rightIndent / kTwipsPerPixel);
    }
    if (para.firstIndent != 0) {
        format.setTextIndent(para.firstIndent / kTwipsPerPixel);
    }
    if (para.spaceBefore != 0) {
        format.setTopMargin(para.spaceBefore / kTwipsPerPixel);
    }
    if (para.spaceAfter != 0) {
        format.setBottomMargin(para.spaceAfter / kTwipsPerPixel);
    }
    if (para.lineSpacing != 0) {
        if (para.lineMultiple != 0) {
            // \sl in 240ths of a line: 240 single, 360 one and a half, 480 double.
            format.setLineHeight(para.lineSpacing * 100.0 / 240.0,
                                 QTextBlockFormat::ProportionalHeight);
        } else if (para.lineSpacing > 0) {
            format.setLineHeight(para.lineSpacing / kTwipsPerPixel,
                                 QTextBlockFormat::MinimumHeight);
        } else {
            format.setLineHeight(-para.lineSpacing / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
        }
    }
    if (para.rightToLeft) {
        format.setLayoutDirection(Qt::RightToLeft);
    }
    return format;
}

ParaProps fromBlockFormat(const QTextBlockFormat& format) {
    ParaProps para;
    const Qt::Alignment horizontal = format.alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter) {
        para.align = ParaProps::Align::Center;
    } else if (horizontal & Qt::AlignJustify) {
        para.align = ParaProps::Align::Justify;
    } else if (horizontal & Qt::AlignRight) {
        para.align = ParaProps::Align::Right;
    }
    para.leftIndent = toTwips(format.leftMargin());
    para.rightIndent = toTwips(format.rightMargin());
    para.firstIndent = toTwips(format.textIndent());
    para.spaceBefore = toTwips(format.topMargin());
    para.spaceAfter = toTwips(format.bottomMargin());
    switch (format.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            para.lineSpacing = static_cast<int>(std::lround(format.lineHeight() * 240.0 / 100.0));
            para.lineMultiple = 1;
            break;
        case QTextBlockFormat::MinimumHeight:
            para.lineSpacing = toTwips(format.lineHeight());
            break;
        case QTextBlockFormat::FixedHeight:
            para.lineSpacing = -toTwips(format.lineHeight());
            break;
        default:
            break;
    }
    para.rightToLeft = format.layoutDirection() == Qt::RightToLeft;
    return para;
}

bool isBulletStyle(QTextListFormat::Style style) {
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

QTextListFormat toListFormat(const ListProps& list) {
    QTextListFormat format;
    format.setIndent(1);
    if (list.kind == ListProps::Kind::Bullet) {
        format.setStyle(isBulletStyle(list.style) ? list.style : QTextListFormat::ListDisc);
        return format;
    }
    format.setStyle(list.style);
    format.setNumberPrefix(list.prefix);
    format.setNumberSuffix(list.suffix);
    if (list.start >= 0) {
        format.setProperty(kListStartProperty, list.start);
    }
    return format;
}

ListProps fromListFormat(const QTextListFormat& format) {
    ListProps list;
    const QTextListFormat::Style style = format.style();
    if (isBulletStyle(style) || style == QTextListFormat::ListStyleUndefined) {
        list.kind = ListProps::Kind::Bullet;
        list.style = QTextListFormat::ListDisc;
        return list;
    }
    list.kind = ListProps::Kind::Numbered;
    list.style = style;
    list.prefix = format.numberPrefix();
    // Qt draws "1." when a list never had its suffix set.
    list.suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                                    : QStringLiteral(".");
    if (format.hasProperty(kListStartProperty)) {
        list.start = format.intProperty(kListStartProperty);
    }
    return list;
}

}  // namespace bp::rtf
