// A UCI chess engine run as a child process: the handshake, one analysis at a time, and
// every way an engine can fail reported as a message.
#pragma once

#include "analysis/core/AnalysisEngine.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

namespace qv::analysis {

// Speaks UCI to an engine program: "uci" (waits for "uciok"), "isready" (waits for
// "readyok"), then per analysis "setoption name MultiPV", "position fen" and "go" with
// "infinite", "depth" or "movetime"; "stop" ends an analysis (the engine's "bestmove"
// closes it) and "quit" ends the program. Nothing here blocks: every answer arrives through
// the event loop, and a timer bounds each wait. A new Start while the engine is still
// starting or stopping is kept and sent as soon as the engine is ready; only the newest
// one counts. Info lines of an abandoned analysis are dropped.
//
// Failures end in OnError with a message naming the program: it cannot be started, it
// does not finish the handshake in time (a program that is no engine, or one that hangs),
// it does not stop when asked, it exits or crashes, or it prints a line longer than any
// engine would. After a failure the next Start runs the program afresh.
class UciEngine : public QObject, public AnalysisEngine {
    Q_OBJECT
public:
    explicit UciEngine(QString program, QObject* parent = nullptr);
    ~UciEngine() override;

    void Start(const BoardState& position, const AnalysisLimits& limits) override;
    void Stop() override;
    bool Running() const override { return running_; }
    // The engine's "id name", or the program's file name before the engine has said it.
    std::string Name() const override;

    // Time allowed for each answer of the handshake and for "bestmove" after "stop".
    void SetAnswerTimeout(int ms) { answerTimeoutMs_ = ms; }
    // Is the engine's program running and through the handshake?
    bool Ready() const { return state_ == State::Idle || state_ == State::Searching; }

private:
    enum class State { NotStarted, Starting, WaitingReady, Idle, Searching, Stopping, Failed };
    struct Request {
        BoardState Position;
        AnalysisLimits Limits;
    };

    void Launch();
    void Send(const QByteArray& line);
    void SendGo();
    void ReadLines();
    void HandleLine(const std::string& line);
    void Timeout();
    void ProcessEnded(int exitCode, QProcess::ExitStatus status);
    void ProcessFailed(QProcess::ProcessError error);
    void Fail(const QString& message);
    QString DisplayName() const;

    QString program_;
    QProcess* process_ = nullptr;
    QTimer answerTimer_;
    int answerTimeoutMs_ = 5000;
    State state_ = State::NotStarted;
    std::optional<Request> pending_;
    int multiPv_ = 1; // the MultiPV option last sent
    std::string name_;
    bool running_ = false;
};

} // namespace qv::analysis
