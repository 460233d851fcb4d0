#!/usr/bin/env python3
"""Checks tarvo-zins forderung against an independent calculation of the claims statement.

Draws random cases (claims under the German rules, costs with and without interest, payments,
some of them naming a claim; taggenau, act/act and act/360; § 367 and § 497 Abs. 3 BGB), writes
each as a case file, has tarvo-zins calculate it and compares the open balances with this
script's own calculation, which follows the rules as the README states them and shares no code
with the program.

Usage: tools/claims_crosscheck.py [--cases N] [--seed S] [--zins build/cli/tarvo-zins]
"""
import argparse
import datetime as dt
import json
import os
import random
import subprocess
import sys
import tempfile
from fractions import Fraction

D = dt.date
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def base_rates():
    rates = {}
    with open(os.path.join(ROOT, 'engine', 'basiszinssatz.csv'), encoding='utf-8') as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith('#') or line.startswith('valid'):
                continue
            day, percent = line.split(';')
            rates[D.fromisoformat(day)] = round(Fraction(percent) * 100)
    return rates


BASE = base_rates()


def half_start(day):
    return D(day.year, 1 if day.month <= 6 else 7, 1)


def leap(year):
    return year % 4 == 0 and (year % 100 != 0 or year % 400 == 0)


def rate_on(rule, day):
    kind = rule['regel']
    if kind == 'satz':
        return round(Fraction(rule['wert']) * 100)
    margin = {'verbraucher': 500,
              'unternehmer': 800 if rule.get('vor_2014') else 900}.get(kind)
    if margin is None:
        margin = round(Fraction(rule['wert']) * 100)
    return max(0, BASE[half_start(day)] + margin)


def rounded(value):
    whole = int(abs(value))
    if abs(value) - whole >= Fraction(1, 2):
        whole += 1
    return whole if value >= 0 else -whole


def period_interest(principal, rate, first, last, count):
    days = (last - first).days + 1
    if count == 'taggenau':
        return rounded(Fraction(principal * rate * days, 10000 * 365))
    if count == 'act360':
        return rounded(Fraction(principal * rate * days, 10000 * 360))
    total = Fraction(0)
    for year in range(first.year, last.year + 1):
        a, b = max(first, D(year, 1, 1)), min(last, D(year, 12, 31))
        total += Fraction(principal * rate * ((b - a).days + 1), 10000 * (366 if leap(year) else 365))
    return rounded(total)


def cents(text):
    return round(Fraction(text) * 100)


def calculate(case):
    """The open balances of a case file's statement, by the rules alone."""
    count, s = case['tageszaehlung'], D.fromisoformat(case['stichtag'])
    items = []
    for i, c in enumerate(case['forderungen']):
        first = D.fromisoformat(c['zinsbeginn'])
        items.append(dict(kind='claim', order=i, date=first, p=cents(c['betrag']), i=0,
                          first=first, rule=c['zins'], linked=c['zins']['regel'] != 'satz'))
    for i, c in enumerate(case['forderungen']):
        if c.get('pauschale'):
            items.append(dict(kind='flat', order=i, date=D.fromisoformat(c['zinsbeginn']),
                              p=4000, i=0, first=None))
    for i, c in enumerate(case.get('kosten', [])):
        bearing = 'zinsbeginn' in c
        items.append(dict(kind='cost', order=i, date=D.fromisoformat(c['datum']),
                          p=cents(c['betrag']), i=0,
                          first=D.fromisoformat(c['zinsbeginn']) if bearing else None,
                          rule=c.get('zins'), linked=bearing and c['zins']['regel'] != 'satz'))
    booked = {id(it): it['first'] - dt.timedelta(1) for it in items if it['first']}

    def accrue(through):
        for it in items:
            if not it['first'] or booked[id(it)] >= through:
                continue
            a = booked[id(it)] + dt.timedelta(1)
            booked[id(it)] = through
            while it['p'] and a <= through:
                b = through
                if it['linked']:
                    end = D(a.year, 7, 1) if a.month <= 6 else D(a.year + 1, 1, 1)
                    b = min(through, end - dt.timedelta(1))
                it['i'] += period_interest(it['p'], rate_on(it['rule'], a), a, b, count)
                a = b + dt.timedelta(1)

    over = 0
    payments = sorted(enumerate(case.get('zahlungen', [])), key=lambda e: (e[1]['datum'], e[0]))
    for _, pay in payments:
        day, amount = D.fromisoformat(pay['datum']), cents(pay['betrag'])
        accrue(day)

        def take(it, field, want):
            share = min(it[field], want)
            it[field] -= share
            return share

        if 'forderung' in pay:
            claim = items[pay['forderung'] - 1]
            amount -= take(claim, 'i', amount)
            amount -= take(claim, 'p', amount)

        def costs(bearing, field):
            nonlocal amount
            open_costs = [it for it in items if it['kind'] != 'claim'
                          and bool(it['first']) == bearing and it['date'] <= day]
            open_costs.sort(key=lambda it: (it['date'], it['kind'] != 'flat', it['order']))
            for it in open_costs:
                amount -= take(it, field, amount)

        def claims(field):
            nonlocal amount
            key = lambda it: (it['first'] > day, -rate_on(it['rule'], day), it['first'])
            ranked = sorted((it for it in items if it['kind'] == 'claim'),
                            key=lambda it: (key(it), it['order']))
            groups = []
            for it in ranked:
                if groups and key(groups[-1][0]) == key(it):
                    groups[-1].append(it)
                else:
                    groups.append([it])
            for group in groups:
                total = sum(it[field] for it in group)
                if amount >= total:
                    for it in group:
                        amount -= take(it, field, it[field])
                elif amount > 0:
                    shares = [amount * it[field] // total for it in group]
                    left, k = amount - sum(shares), 0
                    while left:
                        if shares[k] < group[k][field]:
                            shares[k] += 1
                            left -= 1
                        k = (k + 1) % len(group)
                    for it, share in zip(group, shares):
                        amount -= take(it, field, share)

        if case['verrechnung'] == '367':
            costs(False, 'p'); costs(True, 'i'); costs(True, 'p'); claims('i'); claims('p')
        else:
            costs(False, 'p'); costs(True, 'p'); claims('p'); costs(True, 'i'); claims('i')
        over += amount
    accrue(s)
    per_day = Fraction(0)
    for it in items:
        if it['first'] and it['first'] <= s and it['p']:
            per_day += it['p'] * rate_on(it['rule'], s)
    year = 360 if count == 'act360' else (
        366 if count == 'actact' and leap((s + dt.timedelta(1)).year) else 365)
    money = lambda v: f"{'-' if v < 0 else ''}{abs(v) // 100}.{abs(v) % 100:02d}"
    claims = [it for it in items if it['kind'] == 'claim']
    return {
        'hauptforderung_offen': money(sum(it['p'] for it in claims)),
        'zinsen_offen': money(sum(it['i'] for it in claims)),
        'kosten_offen': money(sum(it['p'] for it in items if it['kind'] != 'claim'
                                  and it['date'] <= s)),
        'kostenzinsen_offen': money(sum(it['i'] for it in items if it['kind'] == 'cost')),
        'je_tag': money(rounded(per_day / (10000 * year))),
        'ueberzahlung': money(over),
        'forderungen': [(money(it['p']), money(it['i'])) for it in claims],
    }


def draw(rng):
    day = lambda a, b: a + dt.timedelta(rng.randint(0, (b - a).days))
    s = day(D(2016, 1, 1), D(2026, 12, 31))
    claims = []
    for _ in range(rng.randint(1, 4)):
        if claims and rng.random() < 0.3:
            claims.append(dict(claims[-1]))  # alike in every respect: a tie
            continue
        rule = rng.choice([{'regel': 'verbraucher'}, {'regel': 'unternehmer', 'vor_2014': False},
                           {'regel': 'satz', 'wert': f"{rng.randint(0, 1500) / 100:.2f}"},
                           {'regel': 'aufschlag', 'wert': f"{rng.randint(0, 1000) / 100:.2f}"}])
        claims.append({'bezeichnung': f"Rechnung {len(claims) + 1}",
                       'betrag': f"{rng.randint(100, 10_000_000) / 100:.2f}",
                       'zinsbeginn': day(D(2014, 8, 1), s).isoformat(), 'zins': rule,
                       'pauschale': rule['regel'] == 'unternehmer' and rng.random() < 0.5})
    earliest = min(D.fromisoformat(c['zinsbeginn']) for c in claims)
    costs = []
    for _ in range(rng.randint(0, 3)):
        date = day(D(2014, 1, 1), s)
        cost = {'bezeichnung': 'Kosten', 'betrag': f"{rng.randint(100, 500_000) / 100:.2f}",
                'datum': date.isoformat()}
        if rng.random() < 0.5:
            cost['zinsbeginn'] = day(date, s).isoformat()
            cost['zins'] = rng.choice([{'regel': 'verbraucher'}, {'regel': 'satz', 'wert': '4.00'}])
        costs.append(cost)
    total = sum(cents(c['betrag']) for c in claims)
    payments = []
    for _ in range(rng.randint(0, 5)):
        amount = rng.choice([rng.randint(1, total // 2 + 1), rng.randint(1, 5000),
                             total + rng.randint(0, 100_000)])
        payment = {'datum': day(earliest, s).isoformat(), 'betrag': f"{amount / 100:.2f}"}
        if rng.random() < 0.25:
            payment['forderung'] = rng.randint(1, len(claims))
        payments.append(payment)
    return {'format': 'tarvo-forderung', 'version': 1, 'bezeichnung': 'Zufall',
            'stichtag': s.isoformat(), 'tageszaehlung': rng.choice(['taggenau', 'actact', 'act360']),
            'verrechnung': rng.choice(['367', '497']), 'forderungen': claims, 'kosten': costs,
            'zahlungen': payments}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--cases', type=int, default=1000)
    parser.add_argument('--seed', type=int, default=1)
    parser.add_argument('--zins', default=os.path.join(ROOT, 'build', 'cli', 'tarvo-zins'))
    args = parser.parse_args()
    rng = random.Random(args.seed)
    wrong = 0
    with tempfile.TemporaryDirectory() as folder:
        for n in range(args.cases):
            case = draw(rng)
            path = os.path.join(folder, 'fall.tarvo')
            with open(path, 'w', encoding='utf-8') as f:
                json.dump(case, f, ensure_ascii=False)
            run = subprocess.run([args.zins, 'forderung', path, '--format', 'json'],
                                 capture_output=True, text=True,
                                 env=dict(os.environ, XDG_DATA_HOME=folder))
            if run.returncode != 0:
                print(f"case {n}: tarvo-zins failed: {run.stderr.strip()}\n{json.dumps(case)}")
                wrong += 1
                continue
            got = json.loads(run.stdout)
            got['forderungen'] = [(c['offen'], c['zinsen_offen']) for c in got['forderungen']]
            want = calculate(case)
            differs = {k: (want[k], got.get(k)) for k in want if want[k] != got.get(k)}
            if differs:
                wrong += 1
                print(f"case {n}: {differs}\n{json.dumps(case)}")
    print(f"{args.cases - wrong} of {args.cases} cases agree")
    sys.exit(1 if wrong else 0)


if __name__ == '__main__':
    main()
