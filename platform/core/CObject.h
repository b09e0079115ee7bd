#pragma once

class CArchive;

class CObject {
 public:
  virtual ~CObject() = default;
  virtual void Serialize(CArchive& ar) = 0;

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};
