// The files the windows write for the coach (an athlete's report, a page
// saved as PDF): whole or not at all, owner-only since they hold athletes'
// data, and a link planted at the name replaced rather than written through.
#pragma once

#include <QByteArray>
#include <QString>

// False when the file cannot be written, with the reason in the coach's
// language; whatever was there before stays as it was.
bool ScriviFileIntero(const QString& file, const QByteArray& byte, QString* motivo = nullptr);
