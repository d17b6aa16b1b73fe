list(APPEND QV_LOGIC_SOURCES
  src/transactions/Transactions.cpp)
list(APPEND QV_WINDOWS_SOURCES
  src/transactions/TransactionWindow.cpp
  src/transactions/frmRent.cpp
  src/transactions/frmReturn.cpp)
