#include "StampScript.h"

#include "platform/IcoCodec.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>

#include <optional>

namespace {

const std::map<QString, QRgb>& colourNames() {
    static const std::map<QString, QRgb> names = [] {
        const char* order[16] = {"black", "maroon",  "green", "olive", "navy", "purple",
                                 "teal",  "silver",  "gray",  "red",   "lime", "yellow",
                                 "blue",  "fuchsia", "aqua",  "white"};
        std::map<QString, QRgb> map;
        for (int i = 0; i < 16; ++i)
            map[QString::fromLatin1(order[i])] = IcoCodec::windowsPalette()[i];
        return map;
    }();
    return names;
}

QString boldFontFamily() {
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(
            QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QStringLiteral("DejaVu Sans") : families.first();
    }();
    return family;
}

// One stamp being drawn: a transparent 32 x 32 canvas and the pen and brush.
class StampCanvas {
public:
    StampCanvas() : image_(32, 32, QImage::Format_ARGB32) { image_.fill(Qt::transparent); }

    std::optional<QString> run(const QString& command, const QStringList& args);
    Icon finish();

private:
    QPainter& painter() {
        if (!painter_.isActive()) {
            painter_.begin(&image_);
            painter_.setRenderHint(QPainter::Antialiasing, false);
            painter_.setRenderHint(QPainter::TextAntialiasing, false);
        }
        painter_.setPen(lineWidth_ > 0 && line_ ? QPen(QColor::fromRgb(*line_), lineWidth_,
                                                       Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                                                : QPen(Qt::NoPen));
        painter_.setBrush(fill_ ? QBrush(QColor::fromRgb(*fill_)) : QBrush(Qt::NoBrush));
        return painter_;
    }

    QImage image_;
    QPainter painter_;
    std::optional<QRgb> line_ = IcoCodec::windowsPalette()[0];
    std::optional<QRgb> fill_;
    double lineWidth_ = 1;
    bool opaque_ = false;
    std::vector<QPoint> xorPixels_;
};

std::optional<QString> parseColour(const QString& word, std::optional<QRgb>& out) {
    if (word == QLatin1String("none")) {
        out.reset();
        return std::nullopt;
    }
    const auto it = colourNames().find(word);
    if (it == colourNames().end())
        return QStringLiteral("unknown colour \"%1\"").arg(word);
    out = it->second;
    return std::nullopt;
}

std::optional<QString> numbers(const QStringList& args, int count, std::vector<double>& out,
                               int optional = 0) {
    if (args.size() < count || args.size() > count + optional)
        return QStringLiteral("expected %1 numbers").arg(count);
    for (const QString& arg : args) {
        bool ok = false;
        out.push_back(arg.toDouble(&ok));
        if (!ok)
            return QStringLiteral("\"%1\" is not a number").arg(arg);
    }
    return std::nullopt;
}

std::optional<QString> points(const QStringList& args, QPolygonF& out) {
    for (const QString& arg : args) {
        const QStringList xy = arg.split(',');
        bool okX = false, okY = false;
        if (xy.size() == 2)
            out << QPointF(xy[0].toDouble(&okX), xy[1].toDouble(&okY));
        if (!okX || !okY)
            return QStringLiteral("\"%1\" is not a point x,y").arg(arg);
    }
    if (out.size() < 2)
        return QStringLiteral("expected at least two points");
    return std::nullopt;
}

std::optional<QString> StampCanvas::run(const QString& command, const QStringList& args) {
    std::vector<double> n;
    if (command == QLatin1String("line")) {
        if (args.isEmpty() || args.size() > 2)
            return QStringLiteral("line <colour> [width]");
        if (auto error = parseColour(args[0], line_))
            return error;
        lineWidth_ = args.size() == 2 ? args[1].toDouble() : 1;
        return std::nullopt;
    }
    if (command == QLatin1String("fill")) {
        if (args.size() != 1)
            return QStringLiteral("fill <colour>");
        return parseColour(args[0], fill_);
    }
    if (command == QLatin1String("opaque")) {
        opaque_ = true;
        return std::nullopt;
    }
    if (command == QLatin1String("rect") || command == QLatin1String("ellipse")) {
        if (auto error = numbers(args, 4, n))
            return error;
        const QRectF box(n[0], n[1], n[2] - 1, n[3] - 1);
        if (command == QLatin1String("rect"))
            painter().drawRect(box);
        else
            painter().drawEllipse(box);
        return std::nullopt;
    }
    if (command == QLatin1String("roundrect")) {
        if (auto error = numbers(args, 5, n))
            return error;
        painter().drawRoundedRect(QRectF(n[0], n[1], n[2] - 1, n[3] - 1), n[4], n[4]);
        return std::nullopt;
    }
    if (command == QLatin1String("circle")) {
        if (auto error = numbers(args, 3, n))
            return error;
        painter().drawEllipse(QPointF(n[0], n[1]), n[2], n[2]);
        return std::nullopt;
    }
    if (command == QLatin1String("arc") || command == QLatin1String("pie")) {
        if (auto error = numbers(args, 6, n))
            return error;
        const QRectF box(n[0], n[1], n[2] - 1, n[3] - 1);
        const int start = static_cast<int>(n[4] * 16), span = static_cast<int>(n[5] * 16);
        if (command == QLatin1String("arc"))
            painter().drawArc(box, start, span);
        else
            painter().drawPie(box, start, span);
        return std::nullopt;
    }
    if (command == QLatin1String("poly") || command == QLatin1String("polyline")) {
        QPolygonF polygon;
        if (auto error = points(args, polygon))
            return error;
        if (command == QLatin1String("poly"))
            painter().drawPolygon(polygon);
        else
            painter().drawPolyline(polygon);
        return std::nullopt;
    }
    if (command == QLatin1String("pixel")) {
        if (auto error = numbers(args, 2, n))
            return error;
        const std::optional<QRgb> colour = fill_ ? fill_ : line_;
        if (colour && QRect(0, 0, 32, 32).contains(int(n[0]), int(n[1]))) {
            if (painter_.isActive())
                painter_.end();
            image_.setPixel(int(n[0]), int(n[1]), *colour);
        }
        return std::nullopt;
    }
    if (command == QLatin1String("text")) {
        if (args.size() < 5 || args.size() > 6)
            return QStringLiteral("text <text> x y w h [size]");
        std::vector<double> box;
        if (auto error = numbers(args.mid(1), 4, box, 1))
            return error;
        QFont font(boldFontFamily());
        font.setBold(true);
        font.setStyleStrategy(QFont::NoAntialias);
        font.setPixelSize(box.size() == 5 ? int(box[4]) : int(box[3] * 0.85));
        QPainterPath path;
        path.addText(0, 0, font, args[0]);
        const QRectF bounds = path.boundingRect();
        const QRectF target(box[0], box[1], box[2], box[3]);
        path.translate(target.center() - bounds.center());
        painter().drawPath(path);
        return std::nullopt;
    }
    if (command == QLatin1String("xor")) {
        if (auto error = numbers(args, 2, n))
            return error;
        xorPixels_.emplace_back(int(n[0]), int(n[1]));
        return std::nullopt;
    }
    return QStringLiteral("unknown command \"%1\"").arg(command);
}

Icon StampCanvas::finish() {
    if (painter_.isActive())
        painter_.end();
    const QImage& drawn = image_;
    QImage colour(32, 32, QImage::Format_RGB32);
    QImage mask(32, 32, QImage::Format_Grayscale8);
    const QRgb background = fill_.value_or(IcoCodec::windowsPalette()[15]);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb pixel = drawn.pixel(x, y);
            const bool covered = qAlpha(pixel) != 0;
            colour.setPixel(
                x, y, covered ? (pixel | 0xff000000u) : (opaque_ ? background : qRgb(0, 0, 0)));
            mask.setPixel(x, y, covered || opaque_ ? 0 : 255);
        }
    for (const QPoint& p : xorPixels_) {
        colour.setPixel(p, IcoCodec::windowsPalette()[4]);
        mask.setPixel(p, 255);
    }
    // Round the colours to the palette exactly as the icon file will.
    return IcoCodec::read(IcoCodec::write({Icon(colour, mask)})).images.at(0);
}

} // namespace

StampScriptResult drawStampScript(const QString& text, const QString& fileName) {
    StampScriptResult result;
    std::optional<StampCanvas> canvas;
    StampSource current;
    auto finishStamp = [&] {
        if (!canvas)
            return;
        current.icon = canvas->finish();
        result.stamps[current.number] = current;
        result.order.push_back(current.number);
        canvas.reset();
    };
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].section('#', 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList words = line.split(' ', Qt::SkipEmptyParts);
        auto fail = [&](const QString& message) {
            result.error = QStringLiteral("%1:%2: %3").arg(fileName).arg(i + 1).arg(message);
            result.stamps.clear();
            result.order.clear();
            return result;
        };
        if (words[0] == QLatin1String("stamp")) {
            finishStamp();
            bool ok = false;
            const int number = words.value(1).toInt(&ok);
            if (!ok || number < 0 || number > 182)
                return fail(QStringLiteral("a stamp number is 0 to 182"));
            if (result.stamps.count(number))
                return fail(QStringLiteral("stamp %1 is drawn twice").arg(number));
            current = StampSource{number, words.mid(2).join(' '), fileName, Icon()};
            canvas.emplace();
            continue;
        }
        if (!canvas)
            return fail(QStringLiteral("a command before the first stamp"));
        if (const auto error = canvas->run(words[0], words.mid(1)))
            return fail(*error);
    }
    finishStamp();
    return result;
}
