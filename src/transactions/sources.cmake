list(APPEND QV_LOGIC_SOURCES
  src/transactions/Transactions.cpp)
list(APPEND QV_WINDOWS_SOURCES
  src/transactions/TransactionLayout.cpp
  src/transactions/frmRent.cpp
  src/transactions/frmReturn.cpp)
