#pragma once
// The record of a telop (text ticker) content: its file, how it is shown
// (effect, scroll speed, background colour) and its rendered size.

#include "model/media_property.h"

#include <QStringList>

class CTelopProperty : public CMediaProperty {
public:
    enum Format : qint32 { FORMAT_BITMAP = 1, FORMAT_TEXT = 2 };
    enum Effect : qint32 { EFFECT_STEADY = 1, EFFECT_BLINK = 2, EFFECT_SCROLL = 3 };
    static constexpr qint32 kMaxSpeed = 10000;

    CTelopProperty();
    bool Copy(const CPropertyBase *source) override;

    qint32 GetFormat() const { return m_format; }
    bool SetFormat(qint32 format);
    qint32 GetEffectType() const { return m_effectType; }
    bool SetEffectType(qint32 effect);
    // Scroll speed in the player's units (the system's text speeds).
    qint32 GetSpeed() const { return m_speed; }
    bool SetSpeed(qint32 speed);
    // flag 1: the background colour is used; 0: transparent.
    void GetColor(quint8 &flag, ColorRef &color) const;
    bool SetColor(quint8 flag, ColorRef color);
    qint32 GetLineHeight() const { return m_lineHeight; }
    bool SetLineHeight(qint32 height);
    // A telop registered from a bitmap: its link names that bitmap (".bmp");
    // a typed telop has no link.
    bool IsBitmapTelop() const;

    int CompareBy(int column, const CPropertyBase &other) const override;
    void WriteFields(CPropertyWriter &writer) const override;
    FieldResult ReadField(QStringView name, const QString &text) override;

private:
    qint32 m_format = FORMAT_BITMAP;
    qint32 m_effectType = EFFECT_SCROLL;
    qint32 m_speed = 0;
    quint8 m_colorFlag = 0;
    ColorRef m_color = 0;
    qint32 m_lineHeight = 0;
};

// The paths of a telop's bitmap and text file in the telop folder, there or
// not; empty when they cannot be formed.
QStringList TelopFolderFiles(const QString &telopFolder, qint32 number);
// The files a telop sends from the telop folder, the text file before the
// bitmap: the file its kind needs (a bitmap telop's bitmap, a typed telop's
// text file) always, the other one when it exists. A telop is missing its
// file when one of these is not there: the list shows it so, the send check
// refuses it, and the transfer sends exactly these. Empty when a path cannot
// be formed.
QStringList TelopFilePaths(const QString &telopFolder, const CTelopProperty &record);
// True when every file of TelopFilePaths is there.
bool HasTelopFiles(const QString &telopFolder, const CTelopProperty &record);
