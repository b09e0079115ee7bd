#pragma once

class CArchive;
class CObject;

// Class record of a serialisable class: its name, schema number and a factory for a default
// instance. The document file never stores any of it; it names the classes for diagnostics.
struct CRuntimeClass {
  const char* className;
  int schema;
  CObject* (*createObject)();
};

class CObject {
 public:
  virtual ~CObject() = default;
  virtual const CRuntimeClass* GetRuntimeClass() const = 0;
  virtual void Serialize(CArchive& ar) = 0;

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};
