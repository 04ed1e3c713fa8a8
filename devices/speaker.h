#pragma once

class QUrl;

// One recording at a time through the sound server, as the program's one player asks.
class Speaker
{
public:
    virtual ~Speaker() = default;
    virtual void setSource(const QUrl &file) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
};
