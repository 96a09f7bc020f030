// The UCI client: a small state machine driven by the engine's lines, its process signals
// and one timer.
#include "analysis/engines/UciEngine.h"

#include "analysis/core/AnalysisText.h"
#include "analysis/core/UciParser.h"

#include <QFileInfo>
#include <QMetaObject>

#include <algorithm>

namespace qv::analysis {

namespace {

// No engine prints a line this long; a program that does is not speaking UCI.
constexpr qint64 MaxLineBytes = 64 * 1024;

} // namespace

UciEngine::UciEngine(QString program, QObject* parent)
    : QObject(parent), program_(std::move(program)) {
    answerTimer_.setSingleShot(true);
    connect(&answerTimer_, &QTimer::timeout, this, [this] { Timeout(); });
}

UciEngine::~UciEngine() {
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->disconnect(this);
        process_->write("stop\nquit\n");
        // A well-behaved engine leaves at once; a hung one is killed after a short wait.
        if (!process_->waitForFinished(300)) {
            process_->kill();
            process_->waitForFinished(1000);
        }
    }
}

std::string UciEngine::Name() const {
    return name_.empty() ? QFileInfo(program_).fileName().toStdString() : name_;
}

QString UciEngine::DisplayName() const {
    return QStringLiteral("\u201c%1\u201d").arg(program_);
}

void UciEngine::Start(const BoardState& position, const AnalysisLimits& limits) {
    pending_ = Request{position, limits};
    running_ = true;
    switch (state_) {
    case State::NotStarted:
    case State::Failed:
        Launch();
        break;
    case State::Idle:
        SendGo();
        break;
    case State::Searching:
        Send("stop");
        state_ = State::Stopping;
        answerTimer_.start(answerTimeoutMs_);
        break;
    case State::Starting:
    case State::WaitingReady:
    case State::Stopping:
        break; // sent when the engine is ready
    }
}

void UciEngine::Stop() {
    pending_.reset();
    running_ = false;
    if (state_ == State::Searching) {
        Send("stop");
        state_ = State::Stopping;
        answerTimer_.start(answerTimeoutMs_);
    }
}

void UciEngine::Launch() {
    if (process_) {
        process_->disconnect(this);
        process_->kill();
        process_->deleteLater();
    }
    process_ = new QProcess(this);
    process_->setStandardErrorFile(QProcess::nullDevice());
    connect(process_, &QProcess::readyReadStandardOutput, this, [this] { ReadLines(); });
    connect(process_, &QProcess::finished, this,
            [this](int code, QProcess::ExitStatus status) { ProcessEnded(code, status); });
    connect(process_, &QProcess::errorOccurred, this,
            [this](QProcess::ProcessError e) { ProcessFailed(e); });
    state_ = State::Starting;
    multiPv_ = 1;
    name_.clear();
    process_->start(program_, {}, QIODevice::ReadWrite);
    Send("uci");
    answerTimer_.start(answerTimeoutMs_);
}

void UciEngine::Send(const QByteArray& line) {
    if (process_ && process_->state() != QProcess::NotRunning) process_->write(line + '\n');
}

void UciEngine::SendGo() {
    if (!pending_) return;
    const Request request = *pending_;
    pending_.reset();
    const int multiPv = std::max(1, request.Limits.MultiPv);
    if (multiPv != multiPv_) {
        Send("setoption name MultiPV value " + QByteArray::number(multiPv));
        multiPv_ = multiPv;
    }
    Send("position fen " + QByteArray::fromStdString(EngineFen(request.Position)));
    if (request.Limits.Depth > 0)
        Send("go depth " + QByteArray::number(request.Limits.Depth));
    else if (request.Limits.MoveTimeMs > 0)
        Send("go movetime " + QByteArray::number(request.Limits.MoveTimeMs));
    else
        Send("go infinite");
    state_ = State::Searching;
}

void UciEngine::ReadLines() {
    if (!process_) return;
    while (process_ && process_->canReadLine()) {
        const QByteArray raw = process_->readLine(MaxLineBytes);
        HandleLine(raw.trimmed().toStdString());
        if (state_ == State::Failed) return;
    }
    if (process_ && process_->bytesAvailable() > MaxLineBytes)
        Fail(tr("The engine %1 prints text that is not UCI.").arg(DisplayName()));
}

void UciEngine::HandleLine(const std::string& line) {
    const std::string_view word = FirstWord(line);
    switch (state_) {
    case State::Starting:
        if (std::string name; ParseIdName(line, name)) {
            name_ = name;
        } else if (word == "uciok") {
            state_ = State::WaitingReady;
            Send("isready");
            answerTimer_.start(answerTimeoutMs_);
        }
        break;
    case State::WaitingReady:
        if (word == "readyok") {
            answerTimer_.stop();
            state_ = State::Idle;
            SendGo();
        }
        break;
    case State::Searching:
        if (word == "info") {
            AnalysisInfo info;
            if (ParseInfoLine(line, info) && OnInfo) OnInfo(info);
        } else if (std::string best; ParseBestMoveLine(line, best)) {
            state_ = State::Idle;
            running_ = false;
            if (OnFinished) OnFinished(best);
        }
        break;
    case State::Stopping:
        if (std::string best; ParseBestMoveLine(line, best)) {
            answerTimer_.stop();
            state_ = State::Idle;
            SendGo();
        }
        break;
    case State::Idle:
    case State::NotStarted:
    case State::Failed:
        break;
    }
}

void UciEngine::Timeout() {
    const double seconds = answerTimeoutMs_ / 1000.0;
    switch (state_) {
    case State::Starting:
        Fail(tr("The program %1 did not answer \u201cuci\u201d within %2 seconds: it may not be a "
                "UCI "
                "chess engine.")
                 .arg(DisplayName())
                 .arg(seconds));
        break;
    case State::WaitingReady:
        Fail(tr("The engine %1 did not become ready within %2 seconds.")
                 .arg(DisplayName())
                 .arg(seconds));
        break;
    case State::Stopping:
        Fail(tr("The engine %1 did not stop within %2 seconds when asked.")
                 .arg(DisplayName())
                 .arg(seconds));
        break;
    default:
        break;
    }
}

void UciEngine::ProcessEnded(int exitCode, QProcess::ExitStatus status) {
    if (state_ == State::Failed) return;
    if (status == QProcess::CrashExit)
        Fail(tr("The engine %1 crashed.").arg(DisplayName()));
    else
        Fail(tr("The engine %1 exited (exit code %2).").arg(DisplayName()).arg(exitCode));
}

void UciEngine::ProcessFailed(QProcess::ProcessError error) {
    if (state_ == State::Failed) return;
    if (error == QProcess::FailedToStart)
        Fail(tr("The engine %1 could not be started: %2.")
                 .arg(DisplayName(), process_ ? process_->errorString() : QString()));
    // Crashes arrive through finished(); write errors follow from an ended process.
}

void UciEngine::Fail(const QString& message) {
    // Only an analysis that is still wanted hears of the failure; an engine that dies
    // after its analysis was stopped is simply started afresh next time.
    const bool wanted = running_;
    answerTimer_.stop();
    state_ = State::Failed;
    running_ = false;
    pending_.reset();
    if (process_) {
        process_->disconnect(this);
        if (process_->state() != QProcess::NotRunning) process_->kill();
        QProcess* dead = process_;
        process_ = nullptr;
        // Reaped asynchronously; deleting a running QProcess would block.
        connect(dead, &QProcess::finished, dead, &QObject::deleteLater);
        if (dead->state() == QProcess::NotRunning) dead->deleteLater();
    }
    if (!wanted) return;
    // Reported from the event loop, never from inside Start or Stop.
    const std::string text = message.toStdString();
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            if (OnError) OnError(text);
        },
        Qt::QueuedConnection);
}

} // namespace qv::analysis
