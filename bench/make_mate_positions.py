#!/usr/bin/env python3
"""Writes the position file of mate_solver_bench: mates from played games.

Plays games with a UCI engine at a weak setting from random openings and keeps, per game,
at most one position for each N in 2..4 where the engine's search sees a mate in N for
the side to move. Each kept position is then solved with `qvn solve` (the shortest mate,
1..4, is its N; others are dropped) and asked "go mate N" on the engine, which must find a
mate in N too. Run by hand:

    bench/make_mate_positions.py QVN OUT [--engine PATH] [--games K] [--seed S]
"""
import argparse, random, re, subprocess

START = 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'


class Engine:
    def __init__(self, path):
        self.p = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  text=True, bufsize=1)
        self.send('uci'); self.wait('uciok')
        self.send('setoption name Threads value 1'); self.ready()

    def send(self, s): self.p.stdin.write(s + '\n'); self.p.stdin.flush()

    def wait(self, prefix):
        lines = []
        while True:
            line = self.p.stdout.readline()
            if not line: raise RuntimeError('the engine stopped')
            lines.append(line.rstrip())
            if line.startswith(prefix): return lines

    def ready(self): self.send('isready'); self.wait('readyok')

    def fen(self, moves):
        self.send('position fen ' + START + ' moves ' + ' '.join(moves)); self.send('d')
        return next(l[5:] for l in self.wait('Checkers') if l.startswith('Fen: '))

    def legal(self, fen):
        self.send('position fen ' + fen); self.send('go perft 1')
        return [l.split(':')[0] for l in self.wait('Nodes searched')
                if re.match(r'^[a-h][1-8][a-h][1-8][nbrq]?:', l)]

    def go(self, fen, what):
        self.send('ucinewgame'); self.ready()
        self.send('position fen ' + fen); self.send('go ' + what)
        out = self.wait('bestmove'); score = None
        for l in out:
            m = re.search(r' score (cp|mate) (-?\d+)', l)
            if m: score = (m.group(1), int(m.group(2)))
        return score, out[-1].split()[1]


def shortest_mate(qvn, fen):
    for n in range(1, 5):
        r = subprocess.run([qvn, 'solve', fen, str(n)], capture_output=True, text=True)
        if r.returncode != 0: return 0
        if r.stdout.strip(): return n
    return 0


def main():
    a = argparse.ArgumentParser()
    a.add_argument('qvn'); a.add_argument('out')
    a.add_argument('--engine', default='/usr/games/stockfish')
    a.add_argument('--games', type=int, default=400); a.add_argument('--seed', type=int, default=1)
    args = a.parse_args()
    random.seed(args.seed)
    player, judge = Engine(args.engine), Engine(args.engine)
    player.send('setoption name Skill Level value 2')
    found, seen = {2: [], 3: [], 4: []}, set()
    for _ in range(args.games):
        moves = []
        for _ in range(random.randint(2, 8)):
            legal = player.legal(player.fen(moves))
            if not legal: break
            moves.append(random.choice(legal))
        used = set()
        for _ in range(200):
            fen = judge.fen(moves)
            score, best = judge.go(fen, 'depth 8')
            if best == '(none)': break
            if score and score[0] == 'mate' and score[1] in (2, 3, 4) and score[1] not in used:
                used.add(score[1])
                key = ' '.join(fen.split()[:4])
                n = shortest_mate(args.qvn, fen)
                if key not in seen and n in found and judge.go(fen, 'mate %d' % n)[0] == ('mate', n):
                    seen.add(key); found[n].append(fen)
            _, mv = player.go(fen, 'depth 3')
            if mv == '(none)': break
            moves.append(mv)
    with open(args.out, 'w') as f:
        f.write('# Mates from played games: positions where the side to move mates in N and in no fewer,\n'
                '# one "N<TAB>FEN" per line. The games were played by an engine at a weak setting from\n'
                '# random openings; N is the exact solver\'s shortest mate, and the external engine\n'
                '# asked "go mate N" on each position found a mate in N as well.\n')
        for n in (2, 3, 4):
            for fen in found[n]: f.write('%d\t%s\n' % (n, fen))


if __name__ == '__main__':
    main()
