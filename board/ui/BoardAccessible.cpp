// The board's accessible interfaces: the board as a table, each square as a cell.
#include "board/ui/BoardAccessible.h"

#include "board/core/Square.h"
#include "board/ui/TChessBrd.h"

#include <QPointer>

namespace qv {

namespace {

QString PieceName(char piece) {
    switch (piece) {
    case 'P':
        return QObject::tr("white pawn");
    case 'N':
        return QObject::tr("white knight");
    case 'B':
        return QObject::tr("white bishop");
    case 'R':
        return QObject::tr("white rook");
    case 'Q':
        return QObject::tr("white queen");
    case 'K':
        return QObject::tr("white king");
    case 'p':
        return QObject::tr("black pawn");
    case 'n':
        return QObject::tr("black knight");
    case 'b':
        return QObject::tr("black bishop");
    case 'r':
        return QObject::tr("black rook");
    case 'q':
        return QObject::tr("black queen");
    case 'k':
        return QObject::tr("black king");
    default:
        return QObject::tr("empty");
    }
}

// One square: a cell of the board's table, without an object of its own.
class SquareAccessible : public QAccessibleInterface {
public:
    SquareAccessible(TChessBrd* board, int square) : board_(board), square_(square) {}

    bool isValid() const override { return !board_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return board_ && board_->window() ? board_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return board_ ? QAccessible::queryAccessibleInterface(board_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (!board_ || (t != QAccessible::Name && t != QAccessible::Description)) return {};
        return DescribeSquare(board_->State().At(square_), square_);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!board_) return {};
        const QRect r = board_->SquareRect(static_cast<Square>(square_));
        return {board_->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!board_) {
            s.invalid = true;
            return s;
        }
        s.focusable = board_->KeyboardMoves();
        s.focused = board_->KeyboardMoves() && board_->hasFocus() &&
                    board_->FocusSquare() == static_cast<Square>(square_);
        s.selectable = board_->ClickMoves() || board_->KeyboardMoves();
        s.selected = board_->Selected() == static_cast<Square>(square_);
        s.invisible = !board_->isVisible();
        s.disabled = !board_->isEnabled();
        return s;
    }

private:
    QPointer<TChessBrd> board_;
    int square_;
};

QAccessibleInterface* BoardFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("qv::TChessBrd") && object && object->isWidgetType())
        return new BoardAccessible(static_cast<TChessBrd*>(object));
    return nullptr;
}

} // namespace

QString DescribeSquare(char piece, int square) {
    if (!IsOnBoard(square)) return {};
    const QString name = QStringLiteral("%1%2")
                             .arg(QChar(QLatin1Char(static_cast<char>('a' + FileOf(square) - 1))))
                             .arg(RankOf(square));
    return name + QStringLiteral(": ") + PieceName(piece);
}

BoardAccessible::BoardAccessible(TChessBrd* board)
    : QAccessibleWidget(board, QAccessible::Table, QObject::tr("Chessboard")) {}

BoardAccessible::~BoardAccessible() {
    for (QAccessible::Id id : squares_)
        if (id != 0) QAccessible::deleteAccessibleInterface(id);
}

TChessBrd* BoardAccessible::Board() const {
    return static_cast<TChessBrd*>(widget());
}

int BoardAccessible::childCount() const {
    return 64;
}

QAccessibleInterface* BoardAccessible::child(int index) const {
    if (index < 0 || index >= 64) return nullptr;
    QAccessible::Id& id = squares_[static_cast<std::size_t>(index)];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(new SquareAccessible(Board(), index + 1));
    return QAccessible::accessibleInterface(id);
}

int BoardAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int i = 0; i < 64; ++i)
        if (squares_[static_cast<std::size_t>(i)] != 0 &&
            QAccessible::accessibleInterface(squares_[static_cast<std::size_t>(i)]) == child)
            return i;
    return -1;
}

QAccessibleInterface* BoardAccessible::childAt(int x, int y) const {
    const QPoint local = Board()->mapFromGlobal(QPoint(x, y));
    const Square sq = Board()->PixelToSquare(local.x(), local.y());
    return IsOnBoard(sq) ? child(sq - 1) : nullptr;
}

QAccessibleInterface* BoardAccessible::focusChild() const {
    const TChessBrd* b = Board();
    if (!b->KeyboardMoves() || !b->hasFocus()) return nullptr;
    return child(b->FocusSquare() - 1);
}

QString BoardAccessible::text(QAccessible::Text t) const {
    const TChessBrd* b = Board();
    if (t == QAccessible::Description)
        return b->WhiteToMove() ? QObject::tr("White to move") : QObject::tr("Black to move");
    return QAccessibleWidget::text(t);
}

void BoardAccessible::InstallFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(BoardFactory);
        return true;
    }();
    (void)installed;
}

} // namespace qv
